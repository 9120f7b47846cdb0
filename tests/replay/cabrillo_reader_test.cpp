#include "tools/replay/cabrillo_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kevo::replay {
namespace {

struct LineCase {
  const char* name;
  const char* values;  // what follows "QSO:"
  bool fits;
  const char* call_or_reason;
};

class CabrilloLine : public testing::TestWithParam<LineCase> {};

TEST_P(CabrilloLine, LocatesTheWorkedCallByTheContestLayout) {
  const LineCase& c = GetParam();
  CabrilloQso qso;
  std::string reason;
  ASSERT_EQ(ParseCabrilloQsoFields(c.values, qso, reason), c.fits) << reason;
  if (c.fits) {
    EXPECT_EQ(qso.call, c.call_or_reason);
  } else {
    EXPECT_NE(reason.find(c.call_or_reason), std::string::npos) << reason;
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
    {"TwoSentTokens", " 14025 CW 2026-03-14 1200 OE1KEV 599 001 15 DL1AB 599 15", false,
     "no call"},
    {"ReportIsNoNumber", " 14025 CW 2026-03-14 1200 OE1KEV A99 001 DL1AB 599 15", false,
     "no signal report"},
    {"Empty", "", false, "0 fields"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CabrilloLine, testing::ValuesIn(kLineCases),
                         [](const testing::TestParamInfo<LineCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CabrilloReader, ReadsAllFieldsOfAQsoLine) {
  CabrilloQso qso;
  std::string reason;
  ASSERT_TRUE(ParseCabrilloQsoFields("7005 CW 2026-03-15 2359 OE1KEV 579 017 S51A 599 KVS5 1",
                                     qso, reason));
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
      "END-OF-LOG:\r\n"
      "QSO: 21025 CW 2026-03-14 1204 OE1KEV 599 005 DL5AB 599 16\r\n";
  CabrilloLog log = ParseCabrillo(text);
  EXPECT_TRUE(log.has_start);
  EXPECT_EQ(log.ignored_contacts, 1u);
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
