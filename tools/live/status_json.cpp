#include "tools/live/status_json.h"

#include "tools/live/json_text.h"

namespace kevo::live {

namespace {

std::string Field(const char* name, const std::string& json_value) {
  return JsonString(name) + ":" + json_value;
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

std::string Band(const replay::BandFigures& band) {
  return "{" + Field("band", JsonString(band.band)) + "," +
         Field("qsos", std::to_string(band.qsos)) + "," +
         Field("points", std::to_string(band.points)) + "," +
         Field("mults", std::to_string(band.mults)) + "}";
}

std::string Lines(const std::deque<ContactLine>& lines) {
  std::string out = "[";
  for (const ContactLine& line : lines) {
    if (out.size() > 1) out += ",";
    out += "{" + Field("time", JsonString(line.time)) + "," + Field("call", JsonString(line.call)) +
           "," + Field("band", JsonString(line.band)) + "," + Field("mode", JsonString(line.mode)) +
           "," + Field("received", JsonString(line.received)) + "," +
           Field("what", JsonString(line.what)) + "}";
  }
  return out + "]";
}

std::string Counters(const IntakeCounters& counters) {
  std::string rejected = "{";
  for (const auto& [reason, count] : counters.rejected) {
    if (rejected.size() > 1) rejected += ",";
    rejected += JsonString(reason) + ":" + Number(count);
  }
  rejected += "}";
  std::uint64_t rejected_total = 0;
  for (const auto& entry : counters.rejected) rejected_total += entry.second;
  return "{" + Field("received", Number(counters.received)) + "," +
         Field("added", Number(counters.added)) + "," +
         Field("replaced", Number(counters.replaced)) + "," +
         Field("deleted", Number(counters.deleted)) + "," +
         Field("repeats", Number(counters.repeats)) + "," +
         Field("rejected", Number(rejected_total)) + "," + Field("rejected_by_reason", rejected) +
         "," + Field("from_journal", Number(counters.from_journal)) + "," +
         Field("journal_errors", Number(counters.journal_errors)) + "}";
}

std::string Figures(const LiveSnapshot& snapshot) {
  if (!snapshot.figures) return "null";
  const replay::SummaryFigures& figures = *snapshot.figures;
  std::string bands = "[";
  for (const replay::BandFigures& band : figures.bands) {
    if (bands.size() > 1) bands += ",";
    bands += Band(band);
  }
  bands += "]";
  std::string rates = "null";
  if (figures.rates) {
    const replay::RateFigures& r = *figures.rates;
    rates = "{" + Field("qsos_60", std::to_string(r.qsos_60)) + "," +
            Field("qsos_10", std::to_string(r.qsos_10)) + "," +
            Field("points_60", std::to_string(r.points_60)) + "," +
            Field("points_10", std::to_string(r.points_10)) + "}";
  }
  return "{" + Field("bands", bands) + "," + Field("total", Band(figures.total)) + "," +
         Field("rates", rates) + "," + Field("points", std::to_string(figures.score_points)) + "," +
         Field("mults", std::to_string(figures.score_mults)) + "}";
}

std::string Post(const PostStatus& post) {
  return "{" + Field("enabled", post.enabled ? "true" : "false") + "," +
         Field("target", JsonString(post.target)) + "," +
         Field("last_time", JsonString(post.last_time)) + "," +
         Field("last_answer", JsonString(post.last_answer)) + "," +
         Field("last_score", std::to_string(post.last_score)) + "," +
         Field("sent", Number(post.sent)) + "," + Field("failed", Number(post.failed)) + "}";
}

}  // namespace

std::string StatusJson(const LiveSnapshot& snapshot, const PostStatus& post) {
  return "{" + Field("version", Number(snapshot.version)) + "," +
         Field("score", std::to_string(snapshot.score)) + "," +
         Field("contacts", Number(snapshot.contacts)) + "," +
         Field("counters", Counters(snapshot.counters)) + "," +
         Field("figures", Figures(snapshot)) + "," +
         Field("summary", JsonString(snapshot.summary)) + "," +
         Field("last_contacts", Lines(snapshot.last_contacts)) + "," +
         Field("duplicates", Lines(snapshot.duplicates)) + "," +
         Field("charts_version", Number(snapshot.charts_version)) + "," +
         Field("post", Post(post)) + "}\n";
}

}  // namespace kevo::live
