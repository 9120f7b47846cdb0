#include "tools/live/page/status_json.h"

#include "tools/host/text_escape.h"

namespace kevo::live {

namespace {

// A JSON object or array built by appending. Besides saving copies, appending keeps clear of
// GCC 12's false -Wrestrict warning at -O3 on "literal" + std::string&&.
class JsonList {
 public:
  explicit JsonList(char open) : text_(1, open), close_(open == '{' ? '}' : ']') {}

  JsonList& Field(const char* name, const std::string& json_value) {
    Separate();
    text_.append(host::JsonString(name)).append(":").append(json_value);
    return *this;
  }
  JsonList& Item(const std::string& json_value) {
    Separate();
    text_.append(json_value);
    return *this;
  }
  std::string Close() { return std::move(text_.append(1, close_)); }

 private:
  void Separate() {
    if (text_.size() > 1) text_.append(",");
  }

  std::string text_;
  char close_;
};

std::string Number(std::uint64_t value) { return std::to_string(value); }
std::string Number(std::int64_t value) { return std::to_string(value); }

std::string Band(const figures::BandFigures& band) {
  return JsonList('{')
      .Field("band", host::JsonString(band.band))
      .Field("qsos", Number(std::int64_t{band.qsos}))
      .Field("points", Number(std::int64_t{band.points}))
      .Field("mults", Number(std::int64_t{band.mults}))
      .Close();
}

std::string Lines(const std::deque<ContactLine>& lines) {
  JsonList out('[');
  for (const ContactLine& line : lines) {
    out.Item(JsonList('{')
                 .Field("time", host::JsonString(line.time))
                 .Field("call", host::JsonString(line.call))
                 .Field("band", host::JsonString(line.band))
                 .Field("mode", host::JsonString(line.mode))
                 .Field("received", host::JsonString(line.received))
                 .Field("what", host::JsonString(line.what))
                 .Close());
  }
  return out.Close();
}

std::string Sources(const std::vector<LogSource>& sources) {
  JsonList out('[');
  for (const LogSource& source : sources) {
    out.Item(JsonList('{')
                 .Field("contest", host::JsonString(source.contest))
                 .Field("mycall", host::JsonString(source.mycall))
                 .Field("contacts", Number(source.contacts))
                 .Field("applied", source.applied ? "true" : "false")
                 .Close());
  }
  return out.Close();
}

std::string Counters(const IntakeCounters& counters) {
  JsonList rejected('{');
  std::uint64_t rejected_total = 0;
  for (const auto& [reason, count] : counters.rejected) {
    rejected.Field(reason.c_str(), Number(count));
    rejected_total += count;
  }
  return JsonList('{')
      .Field("received", Number(counters.received))
      .Field("added", Number(counters.added))
      .Field("replaced", Number(counters.replaced))
      .Field("deleted", Number(counters.deleted))
      .Field("repeats", Number(counters.repeats))
      .Field("unknown_deletes", Number(counters.unknown_deletes))
      .Field("rejected", Number(rejected_total))
      .Field("rejected_by_reason", rejected.Close())
      .Field("from_journal", Number(counters.from_journal))
      .Field("journal_errors", Number(counters.journal_errors))
      .Field("journal_waiting", Number(counters.journal_waiting))
      .Field("refused_senders", Number(counters.refused_senders))
      .Field("left_out", Number(counters.left_out))
      .Field("other_logs", Number(counters.other_logs))
      .Close();
}

std::string Figures(const LiveSnapshot& snapshot) {
  if (!snapshot.figures) return "null";
  const figures::SummaryFigures& figures = *snapshot.figures;
  JsonList bands('[');
  for (const figures::BandFigures& band : figures.bands) bands.Item(Band(band));
  std::string rates = "null";
  if (figures.rates) {
    const figures::RateFigures& r = *figures.rates;
    rates = JsonList('{')
                .Field("qsos_60", Number(std::int64_t{r.qsos_60}))
                .Field("qsos_10", Number(std::int64_t{r.qsos_10}))
                .Field("points_60", Number(std::int64_t{r.points_60}))
                .Field("points_10", Number(std::int64_t{r.points_10}))
                .Close();
  }
  return JsonList('{')
      .Field("bands", bands.Close())
      .Field("total", Band(figures.total))
      .Field("rates", rates)
      .Field("points", Number(std::int64_t{figures.score_points}))
      .Field("mults", Number(std::int64_t{figures.score_mults}))
      .Close();
}

std::string Post(const PostStatus& post) {
  return JsonList('{')
      .Field("enabled", post.enabled ? "true" : "false")
      .Field("target", host::JsonString(post.target))
      .Field("last_time", host::JsonString(post.last_time))
      .Field("last_answer", host::JsonString(post.last_answer))
      .Field("next_time", host::JsonString(post.next_time))
      .Field("call", host::JsonString(post.call))
      .Field("last_score", Number(std::int64_t{post.last_score}))
      .Field("sent", Number(post.sent))
      .Field("failed", Number(post.failed))
      .Close();
}

// Whether every datagram shown is kept: when not, the page says so above everything else.
std::string JournalState(const LiveSnapshot& snapshot) {
  return JsonList('{')
      .Field("ok", snapshot.journal_problem.empty() ? "true" : "false")
      .Field("problem", host::JsonString(snapshot.journal_problem))
      .Field("waiting", Number(snapshot.counters.journal_waiting))
      .Close();
}

}  // namespace

std::string StatusJson(const LiveSnapshot& snapshot, const PostStatus& post) {
  return JsonList('{')
             .Field("version", Number(snapshot.version))
             .Field("score", Number(std::int64_t{snapshot.score}))
             .Field("contacts", Number(std::uint64_t{snapshot.contacts}))
             .Field("station", host::JsonString(snapshot.station))
             .Field("contest", host::JsonString(snapshot.contest))
             .Field("last_update", host::JsonString(snapshot.last_update))
             .Field("logs", Sources(snapshot.sources))
             .Field("outside_window", Number(std::uint64_t{snapshot.outside_window}))
             .Field("outside_lines", Lines(snapshot.outside_lines))
             .Field("counters", Counters(snapshot.counters))
             .Field("journal", JournalState(snapshot))
             .Field("rates_from_edit", host::JsonString(snapshot.rates_from_edit))
             .Field("figures", Figures(snapshot))
             .Field("summary", host::JsonString(snapshot.summary))
             .Field("last_contacts", Lines(snapshot.last_contacts))
             .Field("duplicates", Lines(snapshot.duplicates))
             .Field("charts_version", Number(snapshot.charts_version))
             .Field("post", Post(post))
             .Close() +
         "\n";
}

}  // namespace kevo::live
