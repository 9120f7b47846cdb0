#include "tools/live/scoreboard/scoreboard_document.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <sstream>
#include <utility>

#include "tools/host/bands.h"

namespace kevo::live {

namespace pt = boost::property_tree;

namespace {

// The station's location, only with what the operator gave.
void AddQth(pt::ptree& results, const StationFacts& station) {
  const std::pair<const char*, const std::string*> parts[] = {
      {"cqzone", &station.cq_zone},      {"iaruzone", &station.itu_zone},
      {"arrlsection", &station.section}, {"stprvoth", &station.state},
      {"grid6", &station.grid},
  };
  pt::ptree qth;
  for (const auto& [element, value] : parts) {
    if (!value->empty()) qth.put(element, *value);
  }
  if (!qth.empty()) results.add_child("qth", qth);
}

void AddCount(pt::ptree& breakdown, const char* element, const std::string& band,
              std::int32_t count) {
  pt::ptree& node = breakdown.add(element, std::to_string(count));
  node.put("<xmlattr>.band", ScoreboardBand(band));
  node.put("<xmlattr>.mode", "ALL");
  if (std::string(element) == "mult") node.put("<xmlattr>.type", "exchange");
}

void AddBand(pt::ptree& breakdown, const figures::BandFigures& band) {
  AddCount(breakdown, "qso", band.band, band.qsos);
  AddCount(breakdown, "point", band.band, band.points);
  AddCount(breakdown, "mult", band.band, band.mults);
}

}  // namespace

std::string ScoreboardBand(const std::string& library_band) {
  if (library_band == "Total") return "total";
  return host::CabrilloDesignator(library_band).value_or(library_band);
}

std::string BuildScoreDocument(const StationFacts& station, std::int32_t score,
                               const std::optional<figures::SummaryFigures>& figures,
                               const std::string& utc, const std::string& version) {
  pt::ptree results;
  results.put("contest", station.contest);
  results.put("call", station.call);
  pt::ptree& category = results.add("class", "");
  category.put("<xmlattr>.ops", station.category_operator);
  category.put("<xmlattr>.mode", station.category_mode);
  category.put("<xmlattr>.power", station.category_power);
  category.put("<xmlattr>.bands", station.category_band);
  category.put("<xmlattr>.transmitter", station.category_transmitter);
  category.put("<xmlattr>.assisted", station.category_assisted);
  if (!station.ops.empty()) results.put("ops", station.ops);
  if (!station.club.empty()) results.put("club", station.club);
  AddQth(results, station);
  results.put("soft", "kevo-live");
  results.put("version", version);
  if (figures) {
    pt::ptree& breakdown = results.add_child("breakdown", pt::ptree());
    for (const figures::BandFigures& band : figures->bands) AddBand(breakdown, band);
    AddBand(breakdown, figures->total);
  }
  results.put("score", score);
  results.put("timestamp", utc);
  pt::ptree document;
  document.add_child("dynamicresults", results);
  std::ostringstream out;
  pt::write_xml(out, document, pt::xml_writer_make_settings<std::string>(' ', 2, "UTF-8"));
  return out.str();
}

}  // namespace kevo::live
