#include "tools/replay/inputs/cabrillo_reader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kevo::replay {
namespace {

struct LineCase {
  const char* name;
  const char* values;  // what follows "QSO:" on the third line, after two of the usual layout
  bool fits;
  const char* call_or_reason;
};

// The line's values, escaped and quoted, where GoogleTest shows a failed case's parameter.
void PrintTo(const LineCase& c, std::ostream* out) {
  *out << testing::PrintToString(std::string(c.values));
}

class CabrilloLine : public testing::TestWithParam<LineCase> {};

TEST_P(CabrilloLine, FindsTheCallByTheFileLayout) {
  const LineCase& c = GetParam();
  std::string text =
      "QSO: 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15\n"
      "QSO: 14025 CW 2026-03-14 1201 OE1KEV 5NN 002 DL2AB 579 16\n"
      "QSO:" +
      std::string(c.values) + "\n";
  CabrilloLog log = ParseCabrillo(text);
  if (c.fits) {
    ASSERT_EQ(log.qsos.size(), 3u) << (log.rejected.empty() ? "" : log.rejected[0].message);
    EXPECT_EQ(log.qsos[2].call, c.call_or_reason);
  } else {
    ASSERT_EQ(log.rejected.size(), 1u);
    EXPECT_EQ(log.rejected[0].line, 3u);
    EXPECT_NE(log.rejected[0].message.find(c.call_or_reason), std::string::npos)
        << log.rejected[0].message;
  }
}

const LineCase kLineCases[] = {
    {"Plain", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15", true, "DL1AB"},
    {"TabsAndRuns", "\t3510  CW\t2026-03-14 0000 OE1KEV\t599 1   G4X/P 599 KVDL", true, "G4X/P"},
    {"Transmitter0", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15 0", true, "DL1AB"},
    {"Transmitter1", " 14025 PH 2026-03-14 1200 OE1KEV 59 001 DL1AB 59 15 1", true, "DL1AB"},
    {"DigitalReport", " 14074 DG 2026-03-14 1200 OE1KEV -10 001 DL1AB +05 15", true, "DL1AB"},
    {"BadTransmitter", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15 2", false,
     "transmitter number '2'"},
    {"TooFew", " 14025 CW 2026-03-14 1200 OE1KEV 599 DL1AB 599 15", false, "9 fields"},
    {"TooMany", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 X DL1AB 599 15 0", false, "12 fields"},
    // Two exchange tokens on the sent side: an even split would take "15" as the call.
    {"TwoSentTokens", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 15 DL1AB 599 15", false, "no call"},
    // One line without a report does not take the report column from the others.
    {"ReportIsNoNumber", " 14025 CW 2026-03-14 1200 OE1KEV A99 001 DL1AB 599 15", true, "DL1AB"},
    {"Empty", "", false, "0 fields"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CabrilloLine, testing::ValuesIn(kLineCases),
                         [](const testing::TestParamInfo<LineCase>& info) {
                           return std::string(info.param.name);
                         });

struct LayoutCase {
  const char* name;
  std::vector<const char*> lines;  // QSO line values
  const char* layout;
  const char* sent;      // of the first line
  const char* received;  // of the first line
  std::size_t rejected;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
  *out << c.lines.size() << " QSO lines";
  for (const char* line : c.lines) *out << ", " << testing::PrintToString(std::string(line));
}

class CabrilloLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(CabrilloLayout, IsDecidedByAllQsoLines) {
  const LayoutCase& c = GetParam();
  std::string text;
  for (const char* line : c.lines) text += "QSO: " + std::string(line) + "\n";
  CabrilloLog log = ParseCabrillo(text);
  EXPECT_EQ(log.layout.Name(), c.layout);
  EXPECT_EQ(log.rejected.size(), c.rejected);
  ASSERT_FALSE(log.qsos.empty());
  EXPECT_EQ(log.qsos[0].sent_exchange, c.sent);
  EXPECT_EQ(log.qsos[0].received_exchange, c.received);
}

const LayoutCase kLayoutCases[] = {
    // "19" and "45" could be reports, but "045" and "60" are none: an age and a state.
    {"QsoParty",
     {"14025 PH 2026-03-14 1200 K1ABC 19 NY W2XYZ 045 FL",
      "14025 PH 2026-03-14 1201 K1ABC 19 NY W3XYZ 45 PA",
      "14025 PH 2026-03-14 1202 K1ABC 19 NY W4XYZ 60 OH"},
     "2 exchange tokens a side, no signal report",
     "19 NY",
     "045 FL",
     0},
    // Class and section: "2A" is no CW report.
    {"FieldDay",
     {"7025 CW 2026-06-27 1800 K1ABC 2A CT W2XYZ 1D NNY",
      "7025 CW 2026-06-27 1801 K1ABC 2A CT W3XYZ 3A EPA"},
     "2 exchange tokens a side, no signal report",
     "2A CT",
     "1D NNY",
     0},
    {"SweepstakesAndAnotherLayout",
     {"21025 CW 2026-11-07 2100 K1ABC 1 A 72 CT W2XYZ 2 B 99 NNY",
      "21025 CW 2026-11-07 2101 K1ABC 2 A 72 CT W3XYZ 17 U 01 EPA",
      "21025 CW 2026-11-07 2102 K1ABC 3 A 72 CT W4XYZ 599 CT"},
     "4 exchange tokens a side, no signal report",
     "1 A 72 CT",
     "2 B 99 NNY",
     1},
    {"RttyCutReportsTwoTokens",
     {"14085 RY 2026-09-26 0000 K1ABC 5NN 05 CT W2XYZ 599 05 NY",
      "14085 RY 2026-09-26 0001 K1ABC 599 05 CT DL1AB 59N 14 DX"},
     "signal report and 2 exchange tokens a side",
     "05 CT",
     "05 NY",
     0},
    // Operators log 599 on phone too; a report is a report by its shape in any mode.
    {"PhoneLoggedWith599",
     {"14250 PH 2026-03-14 1200 OE1KEV 59 001 DL1AB 57 15",
      "14250 PH 2026-03-14 1201 OE1KEV 599 002 DL2AB 59 16",
      "14074 DG 2026-03-14 1202 OE1KEV -10 003 DL3AB +05 17",
      "7025 CW 2026-03-14 1203 OE1KEV 339 004 DL4AB 5NN 18"},
     "signal report and 1 exchange token a side",
     "001",
     "15",
     0},
    // Serial-numbered lines, one of them with a mistyped report: the column stays.
    {"OneMistypedReportAmongMany",
     {"7025 CW 2026-03-14 1200 OE1KEV 599 1 DL1AB 599 15",
      "7025 CW 2026-03-14 1201 OE1KEV 599 2 DL2AB 599 16",
      "7025 CW 2026-03-14 1202 OE1KEV 599 3 DL3AB 5995 17",
      "7025 CW 2026-03-14 1203 OE1KEV 599 4 DL4AB 599 18"},
     "signal report and 1 exchange token a side",
     "1",
     "15",
     0},
    // Two lines of many without reports are more than one odd line: no report column.
    {"SerialsLikeReportsNowAndThen",
     {"7025 CW 2026-03-14 1200 OE1KEV 12 1 DL1AB 45 15",
      "7025 CW 2026-03-14 1201 OE1KEV 13 2 DL2AB 46 16",
      "7025 CW 2026-03-14 1202 OE1KEV 14 3 DL3AB 97 17",
      "7025 CW 2026-03-14 1203 OE1KEV 99 4 DL4AB 98 18"},
     "2 exchange tokens a side, no signal report",
     "12 1",
     "45 15",
     0},
};

INSTANTIATE_TEST_SUITE_P(Cases, CabrilloLayout, testing::ValuesIn(kLayoutCases),
                         [](const testing::TestParamInfo<LayoutCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CabrilloReader, ReadsAllFieldsOfAQsoLine) {
  CabrilloLog log = ParseCabrillo("QSO: 7005 CW 2026-03-15 2359 OE1KEV 579 017 S51A 599 KVS5 1\n");
  ASSERT_EQ(log.qsos.size(), 1u);
  const CabrilloQso& qso = log.qsos[0];
  EXPECT_EQ(qso.frequency, "7005");
  EXPECT_EQ(qso.mode, "CW");
  EXPECT_EQ(qso.date, "2026-03-15");
  EXPECT_EQ(qso.time, "2359");
  EXPECT_EQ(qso.own_call, "OE1KEV");
  EXPECT_EQ(qso.sent_report, "579");
  EXPECT_EQ(qso.sent_exchange, "017");
  EXPECT_EQ(qso.received_report, "599");
  EXPECT_EQ(qso.received_exchange, "KVS5");
  EXPECT_EQ(qso.transmitter, "1");
}

TEST(CabrilloReader, ReadsTheLogWithLineNumbersAndLineEndsOfEveryKind) {
  std::string text =
      "\xEF\xBB\xBFSTART-OF-LOG: 3.0\r\n"
      "CALLSIGN: OE1KEV\r"
      "qso: 14025 CW 2026-03-14 1200 OE1KEV 599 001 DL1AB 599 15\n"
      "X-QSO: 14025 CW 2026-03-14 1201 OE1KEV 599 002 DL2AB 599 15\r\n"
      "SOAPBOX: QSO: is no contact here\r\n"
      "QSO: 14025 CW 2026-03-14 1202 OE1KEV 599 003 DL3AB\r\n"
      "QSO: 21025 CW 2026-03-14 1203 OE1KEV 599 004 DL4AB 599 16\r\n"
      "QTC: 3/10 14025 CW 2026-03-14 1210 OE1KEV 1/3 DL1AB 1150 G4ABC 123\r\n"
      "CLAIMED-SCORE:  42 \r\n"
      "END-OF-LOG:\r\n"
      "QSO: 21025 CW 2026-03-14 1204 OE1KEV 599 005 DL5AB 599 16\r\n";
  CabrilloLog log = ParseCabrillo(text);
  EXPECT_TRUE(log.has_start);
  EXPECT_EQ(log.ignored_contacts, 1u);
  EXPECT_EQ(log.header.callsign, "OE1KEV");
  EXPECT_EQ(log.header.claimed_score, "42");
  EXPECT_EQ(log.qtc_lines, 1u);
  ASSERT_EQ(log.qsos.size(), 2u);
  EXPECT_EQ(log.qsos[0].line, 3u);
  EXPECT_EQ(log.qsos[0].call, "DL1AB");
  EXPECT_EQ(log.qsos[1].line, 7u);
  EXPECT_EQ(log.qsos[1].call, "DL4AB");
  ASSERT_EQ(log.rejected.size(), 1u);
  EXPECT_EQ(log.rejected[0].line, 6u);
}

TEST(CabrilloReader, TagsAreCaseInsensitiveAndNeedAColon) {
  EXPECT_EQ(CabrilloTag("qso: 1 2"), "QSO");
  EXPECT_EQ(CabrilloTag("Start-Of-Log: 3.0"), "START-OF-LOG");
  EXPECT_EQ(CabrilloTag("QSO 14025"), "");
  EXPECT_EQ(CabrilloTag(": x"), "");
  EXPECT_EQ(CabrilloTag("QS O: x"), "");
}

}  // namespace
}  // namespace kevo::replay
