#include "tools/replay/inputs/qso_mapping.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/host/bands.h"
#include "tools/host/ole_date.h"

namespace kevo::replay {
namespace {

AdifRecord Record(std::map<std::string, std::string> fields) {
  AdifRecord record;
  record.line = 7;
  record.fields = std::move(fields);
  return record;
}

std::map<std::string, std::string> Base() {
  return {{"CALL", "DL1AB"},
          {"QSO_DATE", "20260314"},
          {"TIME_ON", "140600"},
          {"BAND", "20m"},
          {"MODE", "CW"}};
}

TEST(AdifMapping, FillsEveryParameterFromItsField) {
  auto fields = Base();
  fields["STX_STRING"] = "12";
  fields["STX"] = "001";
  fields["SRX_STRING"] = "KVDL";
  fields["SRX"] = "15";
  fields["PFX"] = "DL1";
  fields["STATE"] = "BY";
  host::QsoValues qso;
  std::string reason;
  ASSERT_TRUE(MapAdifRecord(Record(fields), AdifFieldNames(), qso, reason)) << reason;
  EXPECT_EQ(qso.line, 7u);
  EXPECT_EQ(qso.call, "DL1AB");
  EXPECT_EQ(qso.band, "20");
  EXPECT_EQ(qso.mode, "CW");
  EXPECT_EQ(double{qso.time.m_dt}, 46095.0 + (14 * 3600 + 6 * 60) / 86400.0);
  EXPECT_EQ(qso.time.m_status, 0);
  EXPECT_EQ(qso.sent, "12");
  EXPECT_EQ(qso.received, "KVDL");
  EXPECT_EQ(qso.prefix, "DL1");
  EXPECT_EQ(qso.region, "BY");
}

TEST(AdifMapping, FallsBackToNumberFieldsAndNamedFields) {
  auto fields = Base();
  fields["STX"] = "001";
  fields["SRX_STRING"] = "";
  fields["SRX"] = "7";
  fields["APP_X_COUNTRY"] = "DL";
  fields["CQZ"] = "14";
  fields["APP_X_EXCH"] = "KVDL";
  host::QsoValues qso;
  std::string reason;
  AdifFieldNames names{"app_x_country", "CQZ", std::nullopt};
  ASSERT_TRUE(MapAdifRecord(Record(fields), names, qso, reason)) << reason;
  EXPECT_EQ(qso.sent, "001");
  EXPECT_EQ(qso.received, "7");
  EXPECT_EQ(qso.prefix, "DL");
  EXPECT_EQ(qso.region, "14");
  // A named field for the received exchange replaces SRX_STRING and SRX.
  names.received = "App_X_Exch";
  ASSERT_TRUE(MapAdifRecord(Record(fields), names, qso, reason)) << reason;
  EXPECT_EQ(qso.received, "KVDL");
  // Without the fields the texts stay empty; an empty option name reads nothing.
  ASSERT_TRUE(MapAdifRecord(Record(Base()), AdifFieldNames{"", "", ""}, qso, reason));
  EXPECT_EQ(qso.prefix, "");
  EXPECT_EQ(qso.region, "");
  EXPECT_EQ(qso.sent, "");
  EXPECT_EQ(qso.received, "");
}

struct BandCase {
  const char* band;
  const char* freq;
  const char* expected;  // empty: the record is skipped
};

TEST(AdifMapping, TakesTheBandFromBandOrElseFromTheFrequencyInMegahertz) {
  const BandCase cases[] = {
      {"160M", "", "160"},      {"80m", "", "80"},      {"40m", "", "40"},
      {"10m", "", "10"},        {"6m", "", "6"},        {"2m", "", "2"},
      {"1.25m", "", "1.25"},    {"70CM", "", "70cm"},   {"", "14.025", "20"},
      {"", "14.350", "20"},     {"", "14.3501", ""},    {"", "13.99999", ""},
      {"", "7", "40"},          {"", "1.8", "160"},     {"", "28.5", "10"},
      {"", "50.1", "6"},        {"", "432.2", "70cm"},  {"bogus", "3.55", "80"},
      {"bogus", "", ""},        {"", "", ""},           {"", "14,025", ""},
      {"", "-14.0", ""},        {"", "1e3", ""},        {"", "99999999999999999", ""},
      {"submm", "", "submm"},   {"SubMM", "", "submm"}, {"", "300000", "submm"},
      {"", "7500000", "submm"}, {"", "299999.999", ""}, {"", "7500000.001", ""},
      {"2190M", "", "2190"},    {"", "0.1357", "2190"}, {"", "250000", "1mm"},
  };
  for (const BandCase& c : cases) {
    auto fields = Base();
    fields.erase("BAND");
    if (*c.band) fields["BAND"] = c.band;
    if (*c.freq) fields["FREQ"] = c.freq;
    host::QsoValues qso;
    std::string reason;
    bool mapped = MapAdifRecord(Record(fields), AdifFieldNames(), qso, reason);
    EXPECT_EQ(mapped, *c.expected != '\0') << c.band << " / " << c.freq << ": " << reason;
    if (mapped) {
      EXPECT_EQ(qso.band, c.expected) << c.band << " / " << c.freq;
    }
  }
}

struct SkipCase {
  const char* field;
  std::string value;  // empty with erase: the field is missing
  bool erase;
  const char* reason;
};

TEST(AdifMapping, SkipsRecordsThatCannotBeUsedWithTheReason) {
  const SkipCase cases[] = {
      {"CALL", "", true, "no call"},
      {"CALL", "  ", false, "no call"},
      {"CALL", std::string("DL\0AB", 5), false, "zero byte"},
      {"QSO_DATE", "", true, "no date"},
      {"QSO_DATE", "20260230", false, "impossible date '20260230'"},
      {"QSO_DATE", "2026-03-14", false, "impossible date"},
      {"TIME_ON", "", true, "no time"},
      {"TIME_ON", "2400", false, "impossible time '2400'"},
      {"TIME_ON", "12345", false, "impossible time"},
      {"TIME_ON", "\x01\x7F", false,
       "impossible time '?"
       "?'"},
      // Letters beyond ASCII stay as the log has them, and a cut never splits one.
      {"TIME_ON", "12\xC3\xA4", false, "impossible time '12\xC3\xA4'"},
      {"QSO_DATE", "20260314-\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", false,
       "impossible date '20260314-\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC'"},
      {"QSO_DATE", "20260314-X\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", false,
       "impossible date '20260314-X\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC...'"},
  };
  for (const SkipCase& c : cases) {
    auto fields = Base();
    if (c.erase) {
      fields.erase(c.field);
    } else {
      fields[c.field] = c.value;
    }
    host::QsoValues qso;
    std::string reason;
    EXPECT_FALSE(MapAdifRecord(Record(fields), AdifFieldNames(), qso, reason)) << c.field;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

TEST(AdifMapping, ADamagedRecordIsSkippedWithItsDamage) {
  AdifRecord record = Record(Base());
  record.damage = "field CALL: length 9 runs past the next field (line 7)";
  host::QsoValues qso;
  std::string reason;
  EXPECT_FALSE(MapAdifRecord(record, AdifFieldNames(), qso, reason));
  EXPECT_EQ(reason, record.damage);
}

CabrilloQso Line(const char* freq, const char* mode, const char* date, const char* time) {
  CabrilloQso qso;
  qso.line = 12;
  qso.frequency = freq;
  qso.mode = mode;
  qso.date = date;
  qso.time = time;
  qso.own_call = "OE1KEV";
  qso.sent_report = "599";
  qso.sent_exchange = "001";
  qso.call = "DL1AB";
  qso.received_report = "599";
  qso.received_exchange = "15";
  return qso;
}

TEST(CabrilloMapping, FillsTheParametersAndRenamesPhoneAndRtty) {
  host::QsoValues qso;
  std::string reason;
  ASSERT_TRUE(MapCabrilloQso(Line("14025", "PH", "2026-03-14", "1406"), qso, reason)) << reason;
  EXPECT_EQ(qso.line, 12u);
  EXPECT_EQ(qso.call, "DL1AB");
  EXPECT_EQ(qso.band, "20");
  EXPECT_EQ(qso.mode, "SSB");
  EXPECT_EQ(qso.sent, "001");
  EXPECT_EQ(qso.received, "15");
  EXPECT_EQ(qso.prefix, "");
  EXPECT_EQ(qso.region, "");
  EXPECT_EQ(double{qso.time.m_dt}, 46095.0 + (14 * 3600 + 6 * 60) / 86400.0);
  EXPECT_EQ(CabrilloMode("RY"), "RTTY");
  EXPECT_EQ(CabrilloMode("cw"), "CW");
  EXPECT_EQ(CabrilloMode("FM"), "FM");
  EXPECT_EQ(CabrilloMode("DG"), "DG");
  EXPECT_EQ(CabrilloMode("SSB"), "");
}

TEST(CabrilloMapping, ReadsKilohertzAndTheDesignatorsFromFiftyMegahertzUp) {
  const std::pair<const char*, const char*> cases[] = {
      {"1800", "160"},   {"2000", "160"},  {"1799", ""},    {"3500", "80"},  {"7000", "40"},
      {"14350", "20"},   {"14351", ""},    {"28000", "10"}, {"50", "6"},     {"50100", "6"},
      {"70", "4"},       {"144", "2"},     {"144300", "2"}, {"222", "1.25"}, {"432", "70cm"},
      {"902", "33cm"},   {"1.2G", "23cm"}, {"10g", "3cm"},  {"241G", "1mm"}, {"LIGHT", ""},
      {"14025.5", "20"}, {"", ""},         {"14O25", ""},   {"136", "2190"},
  };
  for (const auto& [field, band] : cases) {
    std::optional<std::string> mapped = host::BandFromCabrilloFrequency(field);
    EXPECT_EQ(mapped.value_or(""), band) << field;
  }
}

TEST(CabrilloMapping, SkipsImpossibleValuesWithTheReason) {
  struct Case {
    CabrilloQso qso;
    const char* reason;
  };
  const Case cases[] = {
      {Line("14025", "SS", "2026-03-14", "1200"), "unknown mode 'SS'"},
      {Line("9999", "CW", "2026-03-14", "1200"), "no amateur band for frequency '9999'"},
      {Line("14025", "CW", "2026-02-29", "1200"), "impossible date '2026-02-29'"},
      {Line("14025", "CW", "2026-03-14", "2360"), "impossible time '2360'"},
      {Line("14025", "CW", "2026-03-14", "120000"), "impossible time"},
  };
  for (const Case& c : cases) {
    host::QsoValues qso;
    std::string reason;
    EXPECT_FALSE(MapCabrilloQso(c.qso, qso, reason));
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

}  // namespace
}  // namespace kevo::replay
