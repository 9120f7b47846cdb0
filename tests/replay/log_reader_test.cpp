#include "tools/replay/inputs/log_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kevo::replay {
namespace {

struct FormatCase {
  const char* content;
  const char* file_name;
  LogFormat expected;
};

TEST(LogFormat, IsRecognisedFromTheContentWhateverTheName) {
  const FormatCase cases[] = {
      {"header\n<EOH>\n<CALL:2>G1<EOR>", "log.txt", LogFormat::kAdif},
      {"<call:2>G1<eor>", "contest.cbr", LogFormat::kAdif},
      {"<CALL:2>G1", "x", LogFormat::kAdif},  // cut off before its first <EOR>
      {"START-OF-LOG: 3.0\nEND-OF-LOG:\n", "log.adi", LogFormat::kCabrillo},
      {"QSO: 14025 CW 2026-03-14 1200 A1A 599 1 B1B 599 2\n", "x.adi", LogFormat::kCabrillo},
      // Both kinds of marks: the name decides, else whatever comes first.
      {"START-OF-LOG: 3.0\nSOAPBOX: <EOR>\n", "log.cbr", LogFormat::kCabrillo},
      {"START-OF-LOG: 3.0\nSOAPBOX: <EOR>\n", "log.txt", LogFormat::kCabrillo},
      {"<EOH>QSO: x\n<EOR>", "log.ADIF", LogFormat::kAdif},
      {"", "log.adi", LogFormat::kUnknown},
      {"hello <b>world</b>\n", "log.adi", LogFormat::kUnknown},
      {"\x7F"
       "ELF\x01\x02\x00\x00",
       "StatsKEVO.so", LogFormat::kUnknown},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(DetectLogFormat(c.content, c.file_name), c.expected) << c.content;
  }
}

TEST(LogReader, CountsEveryRecordAndListsTheSkippedInFileOrder) {
  std::string cabrillo =
      "START-OF-LOG: 3.0\n"
      "QSO: 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15\n"
      "QSO: 14025 XX 2026-03-14 1201 OE1KEV 599 002 DL2AB 599 15\n"
      "QSO: 14025 CW 2026-03-14 1202 OE1KEV 599 DL3AB 599 15\n"
      "X-QSO: 14025 CW 2026-03-14 1203 OE1KEV 599 004 DL4AB 599 15\n";
  ReplayInput input = ReadLog(cabrillo, "x.log", AdifFieldNames());
  EXPECT_EQ(input.format, LogFormat::kCabrillo);
  EXPECT_EQ(input.records_read, 3u);
  ASSERT_EQ(input.qsos.size(), 1u);
  ASSERT_EQ(input.skipped.size(), 2u);
  EXPECT_EQ(input.skipped[0].line, 3u);
  EXPECT_EQ(input.skipped[1].line, 4u);
  ASSERT_EQ(input.notes.size(), 1u);
  EXPECT_NE(input.notes[0].message.find("X-QSO"), std::string::npos);
  EXPECT_EQ(input.layout, "signal report and 1 exchange token a side");

  ReplayInput adif = ReadLog("<CALL:2>G1<EOR>", "x.adi", AdifFieldNames());
  EXPECT_EQ(adif.records_read, 1u);
  ASSERT_EQ(adif.skipped.size(), 1u);
  EXPECT_EQ(adif.skipped[0].message, "no band and no frequency");
}

TEST(LogReader, WarnsWhenMostAdifRecordsHaveNoReceivedExchange) {
  const std::string record = "<CALL:5>DL1AB<QSO_DATE:8>20260314<TIME_ON:4>1200<BAND:3>20m";
  const std::string with = record + "<SRX:2>15<EOR>";
  const std::string without = record + "<APP_X:2>15<EOR>";
  auto warned = [](const ReplayInput& input) {
    for (const host::Problem& note : input.notes) {
      if (note.message.find("no received exchange") != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_FALSE(warned(ReadLog(with + without, "x.adi", AdifFieldNames())));  // half: no
  EXPECT_TRUE(warned(ReadLog(with + without + without, "x.adi", AdifFieldNames())));
  AdifFieldNames names;
  names.received = "APP_X";
  EXPECT_FALSE(warned(ReadLog(with + without + without, "x.adi", names)));
}

TEST(LogReader, GroupsSkippedRecordsByTheKindOfReason) {
  const std::vector<host::Problem> skipped = {
      {3, "no call"},
      {4, "impossible date '20230229'"},
      {5, "QSO line does not fit: 12 fields where this log's QSO lines have 10"},
      {6, "impossible date '20230230'"},
      {7, "QSO line does not fit: 9 fields where this log's QSO lines have 10"},
      {8, "impossible date '20230229'"},
  };
  std::vector<host::SkipGroup> groups = host::GroupSkipped(skipped);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].reason, "no call");
  EXPECT_EQ(groups[0].lines, std::vector<std::size_t>{3});
  EXPECT_EQ(groups[1].reason, "impossible date '20230229'");
  EXPECT_FALSE(groups[1].alike);
  EXPECT_EQ(groups[1].lines, (std::vector<std::size_t>{4, 6, 8}));
  EXPECT_EQ(groups[2].lines, (std::vector<std::size_t>{5, 7}));
}

}  // namespace
}  // namespace kevo::replay
