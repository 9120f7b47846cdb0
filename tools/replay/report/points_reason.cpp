#include "tools/replay/report/points_reason.h"

#include <charconv>

#include "tools/host/boundary_values.h"

namespace kevo::replay {

namespace {

bool StartsWithLetter(const std::string& text) {
  if (text.empty()) return false;
  char first = text.front();
  return (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
}

bool IsNumber(const std::string& text, std::int32_t number) {
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value == number;
}

}  // namespace

std::string PointsReason(const figures::ContactPoint& contact, std::int32_t own_number,
                         const std::string& own_region) {
  if (contact.check_code == host::kCheckDuplicate && contact.points.value_or(0) == 0) {
    return "duplicate";
  }
  if (!contact.points) return "";
  switch (*contact.points) {
    case 1:
      if (StartsWithLetter(contact.received)) return "a letter";
      return IsNumber(contact.received, own_number) ? "own number" : "";
    case 3:
      return "same region";
    case 5:
      return own_region.empty() ? "other region (no own region)" : "other region";
    case 0:
      return contact.qsos_counted == 0 ? "duplicate" : "";
  }
  return "";
}

std::string RegionWords(const std::string& region) { return region.empty() ? "none" : region; }

std::string ScoredApartReason(const figures::ContactPoint& here,
                              const figures::ReportData& here_log,
                              const figures::ContactPoint& there,
                              const figures::ReportData& there_log) {
  bool here_dupe = here.check_code == host::kCheckDuplicate;
  if (here_dupe != (there.check_code == host::kCheckDuplicate)) {
    return here_dupe ? "a duplicate here, not there" : "a duplicate there, not here";
  }
  if (here.received != there.received) {
    return "exchange " + MultiplierName(here.received) + " here, " +
           MultiplierName(there.received) + " there";
  }
  if (here.region != there.region) {
    return "region " + RegionWords(here.region) + " here, " + RegionWords(there.region) + " there";
  }
  if (here_log.own_region != there_log.own_region) {
    return "own region " + RegionWords(here_log.own_region) + " here, " +
           RegionWords(there_log.own_region) + " there";
  }
  if (here.points != there.points) {
    std::string mine = PointsReason(here, here_log.own_number, here_log.own_region);
    std::string theirs = PointsReason(there, there_log.own_number, there_log.own_region);
    if (!mine.empty() && !theirs.empty() && mine != theirs) {
      return mine + " here, " + theirs + " there";
    }
  }
  if (here.new_mults.value_or(0) != there.new_mults.value_or(0)) {
    return here.new_mults.value_or(0) > 0 ? "a new multiplier here, not there"
                                          : "a new multiplier there, not here";
  }
  return "";
}

std::string MultiplierName(const std::string& received) {
  return received.empty() ? "(empty)" : received;
}

}  // namespace kevo::replay
