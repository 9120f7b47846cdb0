#include "contest/qso_log.h"

#include <cmath>
#include <string>
#include <vector>

#include "test_support.h"

namespace kevo::test {
namespace {

std::vector<std::string> Calls(const QsoLog& log) {
  std::vector<std::string> calls;
  for (const CQsoEntry& entry : Entries(log)) calls.push_back(entry.m_strCall);
  return calls;
}

TEST(SameQso, OnlyCallBandModeAndTimeCount) {
  const CQsoEntry base = Qso({.rcvd = "12", .region = "AB", .prefix = "DL", .sent = "001"});
  struct Case {
    const char* name;
    CQsoEntry other;
    bool same;
  };
  const Case cases[] = {
      {"identical", base, true},
      {"other exchanges, prefix, region",
       Qso({.rcvd = "13", .region = "CD", .prefix = "OE", .sent = "002"}), true},
      {"call case", Qso({.call = "q1abc"}), false},
      {"band blank", Qso({.band = " 20"}), false},
      {"mode case", Qso({.mode = "cw"}), false},
      {"next day count", Qso({.day = std::nextafter(kDay, 1e9)}), false},
      {"status", Qso({.status = kDateTimeInvalid}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SameQso(base, c.other), c.same);
    EXPECT_EQ(SameQso(c.other, base), c.same);
  }
  EXPECT_FALSE(SameQso(Qso({.day = 0.5}), Qso({.day = -0.5})));
}

TEST(QsoLog, RepeatedReportKeepsFirstValues) {
  QsoLog log;
  log.Add(Qso({.rcvd = "12", .region = "AB"}));
  log.Add(Qso({.rcvd = "99", .region = "XY"}));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(Entries(log).at(0).m_strRcvd, "12");
  EXPECT_EQ(Entries(log).at(0).m_strRegion, "AB");
  log.Add(Qso({.day = std::nextafter(kDay, 0.0)}));  // however close: a second QSO
  EXPECT_EQ(log.size(), 2u);
}

TEST(QsoLog, BandsInFirstSeenOrder) {
  QsoLog log;
  for (const char* band : {"20M", "40M", "20M", "15M", "20m", " 20M"})
    log.Add(Qso({.call = band, .band = band}));
  EXPECT_EQ(log.bands(), (std::vector<std::string>{"20M", "40M", "15M", "20m", " 20M"}));
}

TEST(QsoLog, RemovalClosesGapAndKeepsBand) {
  QsoLog log;
  log.Add(Qso({.call = "A"}));
  log.Add(Qso({.call = "B", .band = "40"}));
  log.Add(Qso({.call = "C"}));
  log.Remove(Qso({.call = "X"}));  // not stored: nothing happens
  log.Remove(Qso({.call = "B", .band = "40", .mode = "SSB"}));
  EXPECT_EQ(Calls(log), (std::vector<std::string>{"A", "B", "C"}));

  // The exchanges, prefix and region of the removal play no part.
  log.Remove(Qso({.call = "B", .band = "40", .rcvd = "x", .region = "y", .prefix = "z"}));
  EXPECT_EQ(Calls(log), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(log.bands(), (std::vector<std::string>{"20", "40"}));

  log.Add(Qso({.call = "D", .band = "40"}));
  EXPECT_EQ(log.bands(), (std::vector<std::string>{"20", "40"}));
  EXPECT_EQ(Calls(log), (std::vector<std::string>{"A", "C", "D"}));
}

}  // namespace
}  // namespace kevo::test
