// Everything the HTML report shows, gathered during a replay from the library's own answers:
// its summary texts (after every contact and at the end), its call check's answers and
// messages. The page draws and lists these values; it never scores a contact itself.
#ifndef KEVO_TOOLS_FIGURES_REPORT_DATA_H_
#define KEVO_TOOLS_FIGURES_REPORT_DATA_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/figures/summary_figures.h"
#include "tools/host/contest_window.h"
#include "tools/host/problem.h"

namespace kevo::figures {

// A contact's time as a linear UTC day count since 30 December 1899; empty when the contact
// had no valid time, so it stays out of the charts.
using ReportTime = std::optional<double>;

// One contact as it went to the library, and the state of the contest after it, as the
// summary that followed it said.
struct ContactPoint {
  std::size_t line = 0;  // in the log file
  std::string id;        // the logger's ID, which its edits and deletes name; empty in a replay
  ReportTime time;
  std::string call;
  std::string band;
  std::string mode;
  std::string received;  // the exchange as handed to the library
  std::string region;    // the worked station's region code as handed to the library
  std::int32_t check_code = 0;
  std::string check_text;  // what the call check wrote (hint or duplicate message)

  std::int32_t qsos_counted = 0;  // how far this band's QSO figure rose (0 for a duplicate)
  // How far the summary's total points and multipliers rose with this contact: its points and
  // whether it brought a multiplier. Empty when the summary could not be read.
  std::optional<std::int32_t> points;
  std::optional<std::int32_t> new_mults;
  std::int32_t score = 0;  // GetResult0's score
  std::optional<RateFigures> rates;
};

// A band's multiplier figure changed to `mults` with the contact at `time`.
struct MultiplierStep {
  ReportTime time;
  std::string band;
  std::int32_t mults = 0;
};

// A contact the call check answered as a duplicate.
struct DuplicateRow {
  ReportTime time;
  ReportTime first_worked;  // the earliest contact of the same call, band and mode
  std::string call;
  std::string band;
  std::string mode;
  std::string message;  // the library's text, as written into the caller's buffer
};

struct ReportData {
  std::string log_name;         // the log file's name, without its folder
  std::string format_name;      // "ADIF", "Cabrillo"
  std::string generator;        // "kevo-replay 1.0.0"
  std::string log_facts;        // e.g. the Cabrillo header's contest and call sign
  std::string settings;         // the statistics reset's settings, in words
  std::int32_t own_number = 0;  // the same settings, for telling why a contact earned its points
  std::string own_region;
  std::string contest;   // the Cabrillo header's CONTEST; empty without one
  std::string set_name;  // the library's name for the contest it scores ("KEVO")
  std::size_t records_read = 0;
  std::size_t records_used = 0;

  std::string summary;                    // the last summary, byte for byte
  std::optional<SummaryFigures> figures;  // empty when the summary could not be read
  std::int32_t score = 0;
  std::string claimed_score;  // as the log's header gives it; empty without one

  // The contest's span, over which the charts run; the records outside it are named.
  std::optional<host::ContestWindow> window;
  std::size_t out_of_order = 0;  // records dated before one above them in the file
  bool file_order = false;       // replayed in the file's order rather than in time order
  int break_minutes = 30;        // the shortest pause between contacts that is an off-time

  std::vector<ContactPoint> contacts;  // one per contact replayed, in time order
  std::vector<MultiplierStep> multiplier_steps;
  std::vector<DuplicateRow> duplicates;
  std::vector<host::SkipGroup> skipped;
  std::vector<std::string> notes;  // the reader's notes and any library fault, as sentences

  // Other logs to compare with (--compare), each replayed through its own fresh session.
  std::vector<ReportData> compared;
};

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_REPORT_DATA_H_
