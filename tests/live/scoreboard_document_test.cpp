// The dynamicresults document read back with an XML parser, and the status document's texts.
#include "tools/live/scoreboard/scoreboard_document.h"

#include <gtest/gtest.h>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <sstream>

#include "tools/host/bands.h"
#include "tools/live/scoreboard/http_post.h"

namespace kevo::live {
namespace {

namespace pt = boost::property_tree;

TEST(ScoreboardDocumentTest, CarriesTheSummaryFiguresAndTheCategory) {
  std::optional<figures::SummaryFigures> figures = figures::ParseSummary(
      "\tQSO\tPoints\tMults\r\n80\t3\t11\t2\r\n20\t1\t5\t1\r\nTotal\t4\t16\t3\r\n\r\n"
      "Score: 16*3 = 48 points\r\n");
  ASSERT_TRUE(figures);
  StationFacts station;
  station.call = "Q1TEST";
  station.club = "Club <&> \"Q\"";
  station.category_mode = "CW";
  std::string document = BuildScoreDocument(station, 48, figures, "2026-03-15 11:58:00", "1.0.0");
  EXPECT_EQ(document.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
  std::istringstream in(document);
  pt::ptree tree;
  pt::read_xml(in, tree);
  const pt::ptree& results = tree.get_child("dynamicresults");
  EXPECT_EQ(results.get<std::string>("contest"), "KEVO");
  EXPECT_EQ(results.get<std::string>("call"), "Q1TEST");
  EXPECT_EQ(results.get<std::string>("club"), "Club <&> \"Q\"");
  EXPECT_EQ(results.get<std::string>("class.<xmlattr>.mode"), "CW");
  EXPECT_EQ(results.get<std::string>("class.<xmlattr>.ops"), "SINGLE-OP");
  EXPECT_EQ(results.get<int>("score"), 48);
  EXPECT_EQ(results.get<std::string>("timestamp"), "2026-03-15 11:58:00");
  std::ostringstream breakdown;
  for (const auto& [name, node] : results.get_child("breakdown")) {
    breakdown << name << ' ' << node.get<std::string>("<xmlattr>.band") << ' '
              << node.get<std::string>("<xmlattr>.mode") << ' ' << node.data() << ';';
  }
  EXPECT_EQ(breakdown.str(),
            "qso 80 ALL 3;point 80 ALL 11;mult 80 ALL 2;qso 20 ALL 1;point 20 ALL 5;"
            "mult 20 ALL 1;qso total ALL 4;point total ALL 16;mult total ALL 3;");
}

TEST(ScoreboardDocumentTest, WithoutFiguresOnlyTheScore) {
  std::string document = BuildScoreDocument({}, 7, std::nullopt, "2026-03-15 11:58:00", "1");
  EXPECT_EQ(document.find("breakdown"), std::string::npos);
  EXPECT_NE(document.find("<score>7</score>"), std::string::npos);
}

// Every band from 6 m up goes out by its Cabrillo designator, the very one kevo-replay reads
// back from a Cabrillo log; the HF bands keep their meters numbers.
TEST(ScoreboardDocumentTest, BandNamesScoreboardsTake) {
  const std::pair<const char*, const char*> cases[] = {
      {"160", "160"},   {"40", "40"},    {"10", "10"},    {"6", "50"},        {"4", "70"},
      {"2", "144"},     {"1.25", "222"}, {"70cm", "432"}, {"33cm", "902"},    {"23cm", "1.2G"},
      {"13cm", "2.3G"}, {"3cm", "10G"},  {"1mm", "241G"}, {"Total", "total"},
  };
  for (const auto& [library, scoreboard] : cases) {
    SCOPED_TRACE(library);
    EXPECT_EQ(ScoreboardBand(library), scoreboard);
    if (std::string(library) != "Total" && std::string(library).size() > 0 &&
        ScoreboardBand(library) != library) {
      EXPECT_EQ(host::BandFromCabrilloFrequency(scoreboard), library);
    }
  }
}

TEST(ScoreboardDocumentTest, QthBlockOnlyWithWhatWasGiven) {
  StationFacts station;
  station.call = "Q1TEST";
  EXPECT_EQ(BuildScoreDocument(station, 1, std::nullopt, "t", "1").find("qth"), std::string::npos);
  station.cq_zone = "14";
  station.grid = "JO62";
  std::istringstream in(BuildScoreDocument(station, 1, std::nullopt, "t", "1"));
  pt::ptree tree;
  pt::read_xml(in, tree);
  const pt::ptree& qth = tree.get_child("dynamicresults.qth");
  EXPECT_EQ(qth.size(), 2u);
  EXPECT_EQ(qth.get<std::string>("cqzone"), "14");
  EXPECT_EQ(qth.get<std::string>("grid6"), "JO62");
}

TEST(ScoreboardDocumentTest, HostHeaderCarriesAPortOtherThan80) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://scores.example.org/post", "scores.example.org"},
      {"http://scores.example.org:80/post", "scores.example.org"},
      {"http://scores.example.org:8080/post", "scores.example.org:8080"},
      {"http://[::1]:8080/", "[::1]:8080"},
  };
  for (const auto& [url, host] : cases) {
    std::optional<HttpUrl> parsed = ParseHttpUrl(url);
    ASSERT_TRUE(parsed) << url;
    EXPECT_EQ(HostHeader(*parsed), host) << url;
  }
}

}  // namespace
}  // namespace kevo::live
