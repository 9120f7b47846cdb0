// The live page's figures against the built plug-in: after any run of additions, deletions and
// edits, the collector's contacts add up to what the library's summary says, band by band.
#include "tools/live/keeping/live_figures.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/replay/plugin_session.h"
#include "tools/figures/summary_figures.h"

namespace kevo::live {
namespace {

using K = DatagramKind;

ContactEvent Event(K kind, std::string id, std::string call, std::string band, std::string received,
                   double minutes, bool counts = true) {
  ContactEvent event;
  event.kind = kind;
  event.id = std::move(id);
  event.counts = counts;
  static_cast<host::Contact&>(event.contact) =
      replay::ContactAt(std::move(call), std::move(band), "CW", std::move(received), "", minutes);
  return event;
}

class LiveFiguresTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin_, error))
        << error;
    Start();
  }

  // A fresh contest: the library reset, an empty book and empty figures.
  void Start() {
    session_ = std::make_unique<host::HostSession>(plugin_.entries);
    session_->Reset(host::HostSettings{0, 12, "W"});
    book_ = std::make_unique<ContactBook>(*session_);
    report_ = figures::ReportData();
    collector_ = std::make_unique<figures::ReportCollector>(report_);
  }

  void Apply(const ContactEvent& event) {
    CollectChange(*collector_, report_, event, book_->Apply(event));
  }

  // The collector's contacts against the last summary: QSOs per band, points, multipliers,
  // and each band's multiplier line ending where the summary's band stands.
  void ExpectFiguresMatchSummary(const std::string& where) {
    std::optional<figures::SummaryFigures> summary =
        figures::ParseSummary(book_->last_summary().text);
    ASSERT_TRUE(summary) << where;
    std::map<std::string, std::int32_t> qsos, mults, last_step;
    std::int32_t points = 0, new_mults = 0;
    for (const figures::ContactPoint& contact : report_.contacts) {
      qsos[contact.band] += contact.qsos_counted;
      points += contact.points.value_or(0);
      new_mults += contact.new_mults.value_or(0);
      EXPECT_TRUE(contact.qsos_counted == 0 || contact.qsos_counted == 1)
          << where << ": " << contact.call << " counts " << contact.qsos_counted;
    }
    for (const figures::MultiplierStep& step : report_.multiplier_steps) {
      last_step[step.band] = step.mults;
    }
    for (const figures::BandFigures& band : summary->bands) {
      EXPECT_EQ(qsos[band.band], band.qsos) << where << ": QSOs on " << band.band;
      EXPECT_EQ(last_step[band.band], band.mults) << where << ": multipliers on " << band.band;
      qsos.erase(band.band);
    }
    for (const auto& [band, count] : qsos) {
      EXPECT_EQ(count, 0) << where << ": QSOs on " << band << ", a band the summary lacks";
    }
    EXPECT_EQ(points, summary->total.points) << where << ": points";
    EXPECT_EQ(new_mults, summary->total.mults) << where << ": multipliers";
  }

  std::vector<std::string> Calls() const {
    std::vector<std::string> calls;
    for (const figures::ContactPoint& contact : report_.contacts) calls.push_back(contact.call);
    return calls;
  }

  const figures::ContactPoint& Contact(const std::string& call) const {
    for (const figures::ContactPoint& contact : report_.contacts) {
      if (contact.call == call) return contact;
    }
    static const figures::ContactPoint none;
    ADD_FAILURE() << call << " is not among the collector's contacts";
    return none;
  }

  host::LoadedPlugin plugin_;
  std::unique_ptr<host::HostSession> session_;
  std::unique_ptr<ContactBook> book_;
  figures::ReportData report_;
  std::unique_ptr<figures::ReportCollector> collector_;
};

// The contact after a delete keeps its own points and QSO; the deleted one leaves the charts.
TEST_F(LiveFiguresTest, ADeleteIsNotTakenFromTheNextContact) {
  Apply(Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0));
  Apply(Event(K::kContactInfo, "B", "DL2BB", "20", "7", 1));
  std::int32_t own_points = *Contact("DL2BB").points;
  Apply(Event(K::kContactDelete, "A", "DL1AA", "", "", 0));
  Apply(Event(K::kContactInfo, "C", "OK1CC", "20", "7", 2));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"DL2BB", "OK1CC"}));
  EXPECT_EQ(Contact("OK1CC").qsos_counted, 1);
  EXPECT_EQ(Contact("OK1CC").points, own_points);  // the same exchange as DL2BB's
  ExpectFiguresMatchSummary("after the delete");
}

// An edit onto another band counts on the new band only.
TEST_F(LiveFiguresTest, AContactMovedToAnotherBandCountsThereOnly) {
  Apply(Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0));
  Apply(Event(K::kContactInfo, "B", "DL2BB", "20", "7", 1));
  Apply(Event(K::kContactReplace, "A", "DL1AA", "40", "5", 0));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"DL2BB", "DL1AA"}));
  EXPECT_EQ(Contact("DL1AA").band, "40");
  ExpectFiguresMatchSummary("after the move");
}

struct Sequence {
  const char* name;
  std::vector<ContactEvent> events;
  std::vector<std::string> calls_after;  // the collector's contacts at the end, in order
  std::vector<std::int32_t> qsos_after;  // and the QSO each counts
};

TEST_F(LiveFiguresTest, FiguresAddUpToTheSummaryAfterEveryChange) {
  const Sequence sequences[] = {
      {"a duplicate becomes the first once its original is deleted",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "B", "OK1CC", "20", "3", 1),
        Event(K::kContactInfo, "D", "DL1AA", "20", "9", 5),
        Event(K::kContactDelete, "A", "DL1AA", "", "", 0)},
       {"OK1CC", "DL1AA"},
       {1, 1}},
      {"two IDs of one entry: the other takes the entry over",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "A2", "DL1AA", "20", "5", 0),
        Event(K::kContactDelete, "A", "DL1AA", "", "", 0)},
       {"DL1AA"},
       {1}},
      {"an edit on its band, then the band's other contact deleted",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "B", "DL2BB", "20", "7", 1),
        Event(K::kContactReplace, "A", "DL1AA", "20", "K", 0),
        Event(K::kContactDelete, "B", "DL2BB", "", "", 1)},
       {"DL1AA"},
       {1}},
      {"an edit of an original onto its duplicate's band and back",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "D", "DL1AA", "20", "9", 5),
        Event(K::kContactReplace, "A", "DL1AA", "40", "5", 0),
        Event(K::kContactReplace, "A", "DL1AA", "20", "5", 0)},
       {"DL1AA", "DL1AA"},
       {1, 0}},
      {"an edit marks a contact not to count, another brings it back",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "B", "DL2BB", "80", "7", 1),
        Event(K::kContactReplace, "A", "DL1AA", "20", "5", 0, false),
        Event(K::kContactReplace, "A", "DL1AA", "20", "5", 0)},
       {"DL2BB", "DL1AA"},
       {1, 1}},
      {"everything deleted",
       {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0),
        Event(K::kContactInfo, "B", "DL2BB", "80", "7", 1),
        Event(K::kContactDelete, "B", "DL2BB", "", "", 1),
        Event(K::kContactDelete, "A", "DL1AA", "", "", 0)},
       {},
       {}},
  };
  for (const Sequence& sequence : sequences) {
    Start();
    for (std::size_t i = 0; i < sequence.events.size(); ++i) {
      Apply(sequence.events[i]);
      ExpectFiguresMatchSummary(std::string(sequence.name) + ", step " + std::to_string(i + 1));
    }
    EXPECT_EQ(Calls(), sequence.calls_after) << sequence.name;
    std::vector<std::int32_t> qsos;
    for (const figures::ContactPoint& contact : report_.contacts)
      qsos.push_back(contact.qsos_counted);
    EXPECT_EQ(qsos, sequence.qsos_after) << sequence.name;
  }
}

}  // namespace
}  // namespace kevo::live
