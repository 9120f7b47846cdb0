#include "tools/live/intake/datagram.h"

#include <expat.h>

#include <algorithm>
#include <memory>

namespace kevo::live {

namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return lower;
}

// What the parser's callbacks gather: the root's name and the text of each direct child.
// Text of deeper elements belongs to their child of the root.
struct Gathered {
  int depth = 0;
  std::string root;
  std::string child;
  std::string text;
  std::map<std::string, std::string> elements;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
  auto& gathered = *static_cast<Gathered*>(data);
  ++gathered.depth;
  if (gathered.depth == 1) {
    gathered.root = LowerAscii(name);
  } else if (gathered.depth == 2) {
    gathered.child = LowerAscii(name);
    gathered.text.clear();
  }
}

void XMLCALL OnEnd(void* data, const XML_Char* /*name*/) {
  auto& gathered = *static_cast<Gathered*>(data);
  if (gathered.depth == 2) gathered.elements[gathered.child] = gathered.text;
  --gathered.depth;
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  auto& gathered = *static_cast<Gathered*>(data);
  if (gathered.depth >= 2) gathered.text.append(text, static_cast<std::size_t>(length));
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

DatagramParse Refused(std::string reason, std::string detail = {}) {
  DatagramParse parse;
  parse.reason = std::move(reason);
  parse.detail = std::move(detail);
  return parse;
}

}  // namespace

const std::string& Datagram::Text(const std::string& name) const {
  static const std::string kEmpty;
  auto found = elements.find(name);
  return found == elements.end() ? kEmpty : found->second;
}

DatagramParse ParseDatagram(std::string_view bytes) {
  if (bytes.size() > kMaxDatagramBytes) {
    return Refused("oversize", std::to_string(bytes.size()) + " bytes");
  }
  // UTF-8 unless the document's declaration names another encoding expat knows.
  std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
  if (!parser) return Refused("not well-formed XML", "no memory for the parser");
  Gathered gathered;
  XML_SetUserData(parser.get(), &gathered);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  if (XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) ==
      XML_STATUS_ERROR) {
    return Refused("not well-formed XML",
                   std::string(XML_ErrorString(XML_GetErrorCode(parser.get()))) + " at byte " +
                       std::to_string(XML_GetCurrentByteIndex(parser.get())));
  }
  DatagramParse parse;
  if (gathered.root == "contactinfo") {
    parse.datagram.kind = DatagramKind::kContactInfo;
  } else if (gathered.root == "contactreplace") {
    parse.datagram.kind = DatagramKind::kContactReplace;
  } else if (gathered.root == "contactdelete") {
    parse.datagram.kind = DatagramKind::kContactDelete;
  } else {
    return Refused("unknown root", "<" + gathered.root + ">");
  }
  parse.ok = true;
  parse.datagram.elements = std::move(gathered.elements);
  return parse;
}

}  // namespace kevo::live
