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

}  // namespace

void ReportCollector::AddContact(const host::QsoValues& qso, const host::CheckAnswer& check,
                                 const host::Summary& summary) {
  ReportTime time = host::LinearDay(qso.time);
  auto first = first_worked_.emplace(std::tuple(qso.call, qso.band, qso.mode), time).first;
  if (check.code == host::kCheckDuplicate) {
    data_.duplicates.push_back(
        {time, first->second, qso.call, qso.band, qso.mode, check.dupe_message.value_or("")});
  }
  ContactPoint point;
  point.line = qso.line;
  point.time = time;
  point.call = qso.call;
  point.band = qso.band;
  point.mode = qso.mode;
  point.received = qso.received;
  point.region = qso.region;
  point.check_code = check.code;
  point.check_text = check.dupe_message ? *check.dupe_message : check.hint.value_or("");
  point.score = summary.score;
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
        data_.multiplier_steps.push_back({time, band.band, band.mults});
      }
    }
    previous_bands_ = std::move(figures->bands);
  }
  data_.contacts.push_back(std::move(point));
}

void ReportCollector::Finish(const host::Summary& summary) {
  data_.summary = summary.text;
  data_.figures = ParseSummary(summary.text);
  data_.score = summary.score;
}

}  // namespace kevo::figures
