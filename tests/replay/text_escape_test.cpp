// Host texts shown on a page or in a JSON document: one reading of every byte for both.
#include "tools/host/text_escape.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/host/utf8.h"

namespace kevo::host {
namespace {

std::string Utf8(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

// A byte that is no UTF-8 shows as the same character on the report, the live page's charts
// and the live page's figures from /status.json.
TEST(StrayBytes, ShowAsTheSameCharacterInHtmlAndJson) {
  const struct {
    const char* name;
    std::string bytes;
    std::u32string shown;
  } cases[] = {
      {"euro sign at 0x80", "\x80", U"\u20AC"},
      {"left double quote at 0x93", "\x93", U"\u201C"},
      {"Y with diaeresis at 0x9F", "\x9F", U"\u0178"},
      {"unassigned 0x81", "\x81", U"\uFFFD"},
      {"copyright sign at 0xA9", "\xA9", U"\u00A9"},
      {"y with diaeresis at 0xFF", "\xFF", U"\u00FF"},
      {"cut UTF-8 sequence", "\xE2\x82", U"\u00E2\u201A"},
      {"UTF-8 of a C1 control", "\xC2\x85", U"\u00C2\u2026"},
      {"encoded surrogate", "\xED\xA0\x80", U"\u00ED\u00A0\u20AC"},
      {"overlong encoding", "\xE0\x80\x80", U"\u00E0\u20AC\u20AC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeHostText(c.bytes), c.shown) << c.name;
    std::string utf8;
    for (char32_t code_point : c.shown) AppendUtf8(utf8, code_point);
    EXPECT_EQ(EscapeHtml(c.bytes), utf8) << c.name;
    EXPECT_EQ(JsonString(c.bytes), "\"" + utf8 + "\"") << c.name;
  }
}

TEST(StrayBytes, WellFormedUtf8StaysAsItIs) {
  const std::string text = Utf8(0xC4) + Utf8(0xA0) + Utf8(0x20AC) + Utf8(0x1F600) + "A";
  EXPECT_EQ(DecodeHostText(text), U"\u00C4\u00A0\u20AC\U0001F600A");
  EXPECT_EQ(EscapeHtml(text), text);
  EXPECT_EQ(JsonString(text), "\"" + text + "\"");
}

TEST(EscapeHtml, MarkupBecomesEntitiesAndControlsTheReplacement) {
  const std::pair<std::string, std::string> cases[] = {
      {"<b>&\"x'", "&lt;b&gt;&amp;&quot;x&#39;"},
      {"a\tb\r\nc", "a\tb\r\nc"},
      {std::string("a\x01\x1F\x7F\0", 5), "a\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& [bytes, html] : cases) EXPECT_EQ(EscapeHtml(bytes), html) << bytes;
}

TEST(JsonString, QuotesBackslashesAndControlsAreEscaped) {
  EXPECT_EQ(JsonString(std::string("a\"b\\c\r\n\t\x01\x7F<\0", 12)),
            "\"a\\\"b\\\\c\\r\\n\\t\\u0001\\u007f<\\u0000\"");
  EXPECT_EQ(JsonString(""), "\"\"");
}

}  // namespace
}  // namespace kevo::host
