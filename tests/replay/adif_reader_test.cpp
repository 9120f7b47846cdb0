#include "tools/replay/inputs/adif_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace kevo::replay {
namespace {

TEST(AdifReader, ReadsHeaderAndRecordsWithCaseInsensitiveNamesAndByteLengths) {
  // "J\xC3\xB6rg" is four characters but five bytes: the length counts bytes.
  std::string text =
      "Exported log\r\n<ADIF_VER:5>3.1.4 <eoh>\r\n"
      "<call:5>DL1AB <QSO_DATE:8:D>20260314 <Name:5>J\xC3\xB6rg <eor>\r\n"
      "<CALL:4>OK1X<BAND:3>20m<EOR>";
  AdifLog log = ParseAdif(text);
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_TRUE(log.problems.empty());
  EXPECT_EQ(log.records[0].line, 3u);
  EXPECT_EQ(log.records[0].fields.at("CALL"), "DL1AB");
  EXPECT_EQ(log.records[0].fields.at("QSO_DATE"), "20260314");
  EXPECT_EQ(log.records[0].fields.at("NAME"), "J\xC3\xB6rg");
  EXPECT_EQ(log.records[0].fields.count("ADIF_VER"), 0u);  // a header field, not a record's
  EXPECT_EQ(log.records[1].line, 4u);
  EXPECT_EQ(log.records[1].fields.at("BAND"), "20m");
  EXPECT_TRUE(log.records[0].damage.empty());
  EXPECT_TRUE(log.records[1].damage.empty());
}

TEST(AdifReader, KeepsDataBytesUnchangedAndTakesTheFirstOfRepeatedFields) {
  AdifLog log = ParseAdif("<COMMENT:7>a<b> c\n<CALL:3>X1Y<CALL:3>Z9Z<CALL:0><EOR>");
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].fields.at("COMMENT"), "a<b> c\n");
  EXPECT_EQ(log.records[0].fields.at("CALL"), "X1Y");
}

struct HostileCase {
  const char* name;
  std::string text;
  std::size_t records;
  std::size_t damaged;
  std::size_t problems;
  const char* message;  // part of the first damage or problem; empty for none
};

// The file's text, escaped and quoted, where GoogleTest shows a failed case's parameter
// (without a printer it dumps the struct's bytes, addresses and all).
void PrintTo(const HostileCase& c, std::ostream* out) { *out << testing::PrintToString(c.text); }

class AdifHostile : public testing::TestWithParam<HostileCase> {};

TEST_P(AdifHostile, ReportsAndResynchronises) {
  const HostileCase& c = GetParam();
  AdifLog log = ParseAdif(c.text);
  EXPECT_EQ(log.records.size(), c.records);
  std::size_t damaged = 0;
  std::string first;
  for (const AdifRecord& record : log.records) {
    if (!record.damage.empty()) {
      ++damaged;
      if (first.empty()) first = record.damage;
    }
  }
  EXPECT_EQ(damaged, c.damaged);
  EXPECT_EQ(log.problems.size(), c.problems);
  if (first.empty() && !log.problems.empty()) first = log.problems.front().message;
  EXPECT_NE(first.find(c.message), std::string::npos) << first;
}

const HostileCase kHostileCases[] = {
    {"LengthPastNextField", "<CALL:8>DL1AB<BAND:3>20m<EOR><CALL:2>G1<EOR>", 2, 1, 0,
     "field CALL: length 8 runs past the next field (line 1)"},
    {"LengthPastEndOfFile", "<CALL:5>DL1AB<EOR>\n<CALL:50>OK1", 2, 1, 0,
     "length beyond 3 runs past the end of the file (line 2)"},
    {"HugeLengthDoesNotOverflow", "<CALL:184467440737095516170>A<EOR>", 1, 1, 0, "runs past"},
    {"NonNumericLength", "<CALL:x5>DL1AB<EOR>", 1, 1, 0, "length 'x5' is not a number"},
    {"NegativeLength", "<CALL:-1>DL1AB<EOR>", 1, 1, 0, "length '-1' is not a number"},
    {"EmptyLength", "<CALL:>DL1AB<EOR>", 1, 1, 0, "length '' is not a number"},
    {"BadType", "<CALL:5:7>DL1AB<EOR>", 1, 1, 0, "malformed data type"},
    {"SpecifierCutByEndOfFile", "<CALL:5>DL1AB<EOR><CALL:5", 2, 1, 0, "cut off by the end"},
    {"RecordWithoutEor", "<CALL:5>DL1AB<EOR><CALL:5>DL2AB", 2, 1, 0, "not ended by <EOR>"},
    {"HeaderDamageIsAProblem", "<PROGRAMID:99>x <EOH><CALL:2>G1<EOR>", 1, 0, 1,
     "header: field PROGRAMID"},
    {"FreeTextHeaderMayHoldAnything", "Ends with <EOR>, <CALL:9> <EOH>\n<CALL:2>G1<EOR>", 1, 0, 0,
     ""},
    {"SecondEohIgnored", "<EOH><EOH><CALL:2>G1<EOR>", 1, 0, 1, "a second <EOH>"},
    {"EmptyRecordsAreNoRecords", "<EOR><EOR>\n<eor>", 0, 0, 0, ""},
    {"AngleBracketsOnly", "<<<<>>>>:<:>", 0, 0, 0, ""},
    {"NotAnAdifFile", "just some text\nwith no specifiers", 0, 0, 0, ""},
    {"ZeroBytes", std::string("<CALL:3>A\0B<EOR>\0\0<", 20), 1, 0, 0, ""},
    {"OverlongSpecifierTailIsText", "<CALL:" + std::string(100, '1') + ">x<CALL:1>A<EOR>", 1, 0, 0,
     ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, AdifHostile, testing::ValuesIn(kHostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(AdifReader, ResynchronisesAtTheFieldThatALongLengthRanInto) {
  AdifLog log = ParseAdif("<CALL:20>DL1AB <BAND:3>40m <EOR>");
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].fields.at("BAND"), "40m");
  EXPECT_EQ(log.records[0].fields.count("CALL"), 0u);
}

TEST(AdifReader, SurvivesPseudoRandomBytesWithLinesInRange) {
  // Bytes drawn mostly from the characters that matter to the reader.
  const std::string alphabet = "<>:EORHCAL0123456789 \n\r\x80\xFF";
  std::uint64_t state = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    std::size_t size = static_cast<std::size_t>(round % 97);
    for (std::size_t i = 0; i < size; ++i) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      text += alphabet[(state >> 33) % alphabet.size()];
    }
    AdifLog log = ParseAdif(text);
    std::size_t lines = 1;
    for (char c : text) lines += (c == '\n' || c == '\r') ? 1 : 0;
    for (const AdifRecord& record : log.records) {
      ASSERT_GE(record.line, 1u);
      ASSERT_LE(record.line, lines);
      for (const auto& [name, value] : record.fields) ASSERT_LE(value.size(), text.size());
    }
  }
}

TEST(AdifReader, RecognisesOnlyWellFormedSpecifiers) {
  EXPECT_TRUE(StartsAdifSpecifier("<CALL:5>", 0));
  EXPECT_TRUE(StartsAdifSpecifier("<call:5:S>", 0));
  EXPECT_TRUE(StartsAdifSpecifier("x<eoh>", 1));
  EXPECT_FALSE(StartsAdifSpecifier("<CALL:x>", 0));
  EXPECT_FALSE(StartsAdifSpecifier("<CALL>", 0));
  EXPECT_FALSE(StartsAdifSpecifier("<b>", 0));
  EXPECT_FALSE(StartsAdifSpecifier("<CALL:5", 0));
  EXPECT_FALSE(StartsAdifSpecifier("CALL", 0));
  EXPECT_FALSE(StartsAdifSpecifier("<", 5));
}

}  // namespace
}  // namespace kevo::replay
