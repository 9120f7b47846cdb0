#include "tools/figures/report_collector.h"

#include <algorithm>
#include <string>

#include "tools/host/linear_time.h"

namespace kevo::figures {

namespace {

const BandFigures* FindBand(const std::vector<BandFigures>& bands, std::string_view band) {
  auto found = std::find_if(bands.begin(), bands.end(),
                            [&](const BandFigures& figures) { return figures.band == band; });
  return found == bands.end() ? nullptr : &*found;
}

// The library's counters are 32-bit and wrap; so does their difference.
std::int32_t Rise(std::int32_t now, std::int32_t before) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(now) -
                                   static_cast<std::uint32_t>(before));
}

std::int32_t Sum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

ContactPoint ReportCollector::Point(const host::QsoValues& qso, const host::CheckAnswer& check,
                                    const host::Summary& summary, std::string id) {
  ReportTime time = host::LinearDay(qso.time);
  auto first = first_worked_.emplace(std::tuple(qso.call, qso.band, qso.mode), time).first;
  if (check.code == host::kCheckDuplicate) {
    data_.duplicates.push_back(
        {time, first->second, qso.call, qso.band, qso.mode, check.dupe_message.value_or("")});
  }
  ContactPoint point;
  point.line = qso.line;
  point.id = std::move(id);
  point.time = time;
  point.call = qso.call;
  point.band = qso.band;
  point.mode = qso.mode;
  point.received = qso.received;
  point.region = qso.region;
  point.check_code = check.code;
  point.check_text = check.dupe_message ? *check.dupe_message : check.hint.value_or("");
  point.score = summary.score;
  return point;
}

void ReportCollector::AddContact(const host::QsoValues& qso, const host::CheckAnswer& check,
                                 const host::Summary& summary, std::string id) {
  ContactPoint point = Point(qso, check, summary, std::move(id));
  std::optional<SummaryFigures> figures = ParseSummary(summary.text);
  if (figures) {
    // The rise of the totals, not of the band's line: a summary may rescore an earlier contact
    // of another band, and only the totals' rises add up to the final summary's.
    point.points = Rise(figures->total.points, previous_total_.points);
    point.new_mults = Rise(figures->total.mults, previous_total_.mults);
    previous_total_ = figures->total;
    point.rates = figures->rates;
    const BandFigures* now = FindBand(figures->bands, qso.band);
    const BandFigures* before = FindBand(previous_bands_, qso.band);
    if (now != nullptr) point.qsos_counted = Rise(now->qsos, before ? before->qsos : 0);
    for (const BandFigures& band : figures->bands) {
      const BandFigures* old = FindBand(previous_bands_, band.band);
      if (old == nullptr ? band.mults != 0 : old->mults != band.mults) {
        data_.multiplier_steps.push_back({point.time, band.band, band.mults});
      }
    }
    previous_bands_ = std::move(figures->bands);
  }
  data_.contacts.push_back(std::move(point));
}

std::optional<ContactPoint> ReportCollector::TakeOut(const std::string& id) {
  auto found = std::find_if(data_.contacts.begin(), data_.contacts.end(),
                            [&](const ContactPoint& contact) { return contact.id == id; });
  if (id.empty() || found == data_.contacts.end()) return std::nullopt;
  ContactPoint taken = std::move(*found);
  data_.contacts.erase(found);
  return taken;
}

void ReportCollector::RemoveContact(const std::string& id, const host::Summary& summary) {
  std::optional<ContactPoint> removed = TakeOut(id);
  if (!removed) return;
  // The score line ends at the score the removal left.
  if (!data_.contacts.empty()) data_.contacts.back().score = summary.score;
  Reconcile(summary, &*removed, false);
}

void ReportCollector::ReplaceContact(const std::string& id, const host::QsoValues& qso,
                                     const host::CheckAnswer& check, const host::Summary& summary) {
  std::optional<ContactPoint> removed = TakeOut(id);
  ContactPoint point = Point(qso, check, summary, id);
  std::optional<SummaryFigures> figures = ParseSummary(summary.text);
  if (figures) {
    point.points = 0;
    point.new_mults = 0;
    point.rates = figures->rates;
  }
  // The library holds the edited contact as its newest.
  data_.contacts.push_back(std::move(point));
  Reconcile(summary, removed ? &*removed : nullptr, true);
}

ContactPoint* ReportCollector::TakerOn(const std::string& band, const ContactPoint* removed,
                                       bool added) {
  std::vector<ContactPoint>& contacts = data_.contacts;
  if (added && contacts.back().band == band) return &contacts.back();
  if (removed != nullptr && removed->band == band) {
    // The removed contact's duplicate (or another ID of its entry), now the one that counts.
    for (ContactPoint& contact : contacts) {
      if (contact.band == band && contact.call == removed->call && contact.mode == removed->mode &&
          contact.qsos_counted == 0 && (!added || &contact != &contacts.back())) {
        return &contact;
      }
    }
  }
  for (auto it = contacts.rbegin(); it != contacts.rend(); ++it) {
    if (it->band == band) return &*it;
  }
  return nullptr;
}

void ReportCollector::Reconcile(const host::Summary& summary, const ContactPoint* removed,
                                bool added) {
  std::optional<SummaryFigures> figures = ParseSummary(summary.text);
  if (!figures) return;  // the figures stay as they were: the library's answer is unreadable
  // What the contacts account for per band, and the bands the summary names.
  std::map<std::string, BandFigures> held;
  for (const BandFigures& band : figures->bands) held[band.band];
  for (const ContactPoint& contact : data_.contacts) {
    BandFigures& band = held[contact.band];
    band.qsos = Sum(band.qsos, contact.qsos_counted);
    band.points = Sum(band.points, contact.points.value_or(0));
    band.mults = Sum(band.mults, contact.new_mults.value_or(0));
  }
  for (const auto& [name, sum] : held) {
    const BandFigures* said = FindBand(figures->bands, name);
    BandFigures rest;
    rest.qsos = Rise(said ? said->qsos : 0, sum.qsos);
    rest.points = Rise(said ? said->points : 0, sum.points);
    rest.mults = Rise(said ? said->mults : 0, sum.mults);
    if (rest.qsos == 0 && rest.points == 0 && rest.mults == 0) continue;
    ContactPoint* taker = TakerOn(name, removed, added);
    if (taker == nullptr) continue;
    taker->qsos_counted = Sum(taker->qsos_counted, rest.qsos);
    taker->points = Sum(taker->points.value_or(0), rest.points);
    taker->new_mults = Sum(taker->new_mults.value_or(0), rest.mults);
  }
  previous_total_ = figures->total;
  previous_bands_ = std::move(figures->bands);
  RebuildMultiplierSteps();
}

void ReportCollector::RebuildMultiplierSteps() {
  // Each contact's multipliers count on its own band, in the order the contacts came.
  data_.multiplier_steps.clear();
  std::map<std::string, std::int32_t> mults;
  for (const ContactPoint& contact : data_.contacts) {
    std::int32_t rise = contact.new_mults.value_or(0);
    if (rise == 0) continue;
    std::int32_t& band = mults[contact.band];
    band = Sum(band, rise);
    data_.multiplier_steps.push_back({contact.time, contact.band, band});
  }
}

void ReportCollector::Finish(const host::Summary& summary) {
  data_.summary = summary.text;
  data_.figures = ParseSummary(summary.text);
  data_.score = summary.score;
}

}  // namespace kevo::figures
