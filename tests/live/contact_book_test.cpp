// The contact book against the built plug-in: what each datagram changes, and that the
// contest it leaves scores as kevo-replay scores the contacts that remain.
#include "tools/live/keeping/contact_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/replay/plugin_session.h"
#include "tools/figures/summary_figures.h"

namespace kevo::live {
namespace {

using host::HostSession;
using host::LoadedPlugin;

ContactEvent Event(DatagramKind kind, std::string id, std::string call, std::string band,
                   std::string received, double minutes) {
  ContactEvent event;
  event.kind = kind;
  event.id = std::move(id);
  static_cast<host::Contact&>(event.contact) =
      replay::ContactAt(std::move(call), std::move(band), "CW", std::move(received), "", minutes);
  return event;
}

int ScoredQsos(const host::Summary& summary) {
  std::optional<figures::SummaryFigures> figures = figures::ParseSummary(summary.text);
  return figures ? figures->total.qsos : -1;
}

class ContactBookTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin_, error))
        << error;
    session_ = std::make_unique<HostSession>(plugin_.entries);
    session_->Reset(settings_);
    book_ = std::make_unique<ContactBook>(*session_);
  }

  // What kevo-replay says for these contacts, logged in this order with a summary after each.
  std::string ReplaySummary(const std::vector<ContactEvent>& events) {
    std::vector<host::QsoValues> contacts;
    for (const ContactEvent& event : events) {
      host::QsoValues qso;
      static_cast<host::Contact&>(qso) = event.contact;
      contacts.push_back(qso);
    }
    return replay::ReplayThroughPlugin(settings_, contacts).summary.text;
  }

  host::HostSettings settings_{0, 12, "W"};
  LoadedPlugin plugin_;
  std::unique_ptr<HostSession> session_;
  std::unique_ptr<ContactBook> book_;
};

TEST_F(ContactBookTest, EachDatagramChangesWhatItSays) {
  using K = DatagramKind;
  struct Step {
    ContactEvent event;
    BookChange change;
    std::size_t contacts_after;
  };
  const Step steps[] = {
      {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0), BookChange::kAdded, 1},
      {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0), BookChange::kRepeat, 1},
      {Event(K::kContactInfo, "B", "DL2BB", "80", "7", 1), BookChange::kAdded, 2},
      {Event(K::kContactReplace, "B", "DL2BB", "80", "9", 1), BookChange::kReplaced, 2},
      {Event(K::kContactReplace, "B", "DL2BB", "80", "9", 1), BookChange::kRepeat, 2},
      {Event(K::kContactReplace, "C", "OK1CC", "20", "3", 2), BookChange::kAdded, 3},
      {Event(K::kContactDelete, "A", "DL1AA", "", "", 0), BookChange::kDeleted, 2},
      {Event(K::kContactDelete, "A", "DL1AA", "", "", 0), BookChange::kRepeat, 2},
      // A deleted contact re-sent by another PC stays deleted.
      {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0), BookChange::kRepeat, 2},
      {Event(K::kContactDelete, "Z", "Z9ZZ", "", "", 5), BookChange::kUnknownDelete, 2},
      // An edit sent as a delete and then the replace: the contact comes back edited.
      {Event(K::kContactDelete, "C", "OK1CC", "", "", 2), BookChange::kDeleted, 1},
      {Event(K::kContactReplace, "C", "OK1CC", "20", "4", 2), BookChange::kAdded, 2},
      {Event(K::kContactInfo, "C", "OK1CC", "20", "3", 2), BookChange::kRepeat, 2},
  };
  std::string summary;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.event.id);
    BookOutcome outcome = book_->Apply(step.event);
    EXPECT_EQ(outcome.change, step.change);
    EXPECT_EQ(book_->size(), step.contacts_after);
    if (step.change == BookChange::kRepeat || step.change == BookChange::kUnknownDelete) {
      EXPECT_TRUE(outcome.summary.text.empty());
      EXPECT_EQ(book_->last_summary().text, summary);
    } else {
      EXPECT_NE(outcome.summary.text, "");
      summary = outcome.summary.text;
    }
  }
  // Edits stay on bands in use: the library lists every band it was ever given, so a band
  // emptied by an edit or a delete would stay in the summary with zeros.
  EXPECT_EQ(summary, ReplaySummary({Event(K::kContactInfo, "B", "DL2BB", "80", "9", 1),
                                    Event(K::kContactInfo, "C", "OK1CC", "20", "4", 2)}));
}

// Two IDs for one library entry (same call, band, mode and time): the entry stays while either
// ID stands for it, whichever of them is deleted or moved, and the count is the library's.
TEST_F(ContactBookTest, TwoIdsForOneEntryLeaveItOnlyWithTheLast) {
  using K = DatagramKind;
  // Keeps band 20 in use: the library lists every band it was ever given.
  const ContactEvent keeper = Event(K::kContactInfo, "K", "SP1KK", "20", "7", 1);
  const ContactEvent other = Event(K::kContactInfo, "O", "OK1CC", "40", "3", 9);
  const ContactEvent twice = Event(K::kContactInfo, "P1", "DL1AA", "20", "5", 0);
  ContactEvent second = twice;
  second.id = "P2";
  const std::pair<ContactEvent, std::size_t> steps[] = {
      {keeper, 1},
      {twice, 2},
      {second, 2},
      {other, 3},
      {Event(K::kContactDelete, "P1", "DL1AA", "", "", 0), 3},
  };
  for (const auto& [event, entries_after] : steps) {
    book_->Apply(event);
    EXPECT_EQ(book_->size(), entries_after) << event.id;
  }
  EXPECT_EQ(book_->last_summary().text, ReplaySummary({keeper, second, other}));
  // Moving the last ID to another time takes the entry with it; deleting it leaves the rest.
  ContactEvent moved = Event(K::kContactReplace, "P2", "DL1AA", "20", "5", 4);
  book_->Apply(moved);
  EXPECT_EQ(book_->size(), 3u);
  EXPECT_EQ(book_->last_summary().text, ReplaySummary({keeper, other, moved}));
  book_->Apply(Event(K::kContactDelete, "P2", "DL1AA", "", "", 4));
  EXPECT_EQ(book_->size(), 2u);
  EXPECT_EQ(book_->last_summary().text, ReplaySummary({keeper, other}));
}

TEST_F(ContactBookTest, MovingOneOfTwoIdsKeepsTheOther) {
  using K = DatagramKind;
  book_->Apply(Event(K::kContactInfo, "P1", "DL1AA", "20", "5", 0));
  book_->Apply(Event(K::kContactInfo, "P2", "DL1AA", "20", "5", 0));
  BookOutcome moved = book_->Apply(Event(K::kContactReplace, "P1", "DL1AA", "40", "5", 0));
  EXPECT_EQ(moved.change, BookChange::kReplaced);
  EXPECT_EQ(book_->size(), 2u);
  EXPECT_EQ(book_->last_summary().text,
            ReplaySummary({Event(K::kContactInfo, "P2", "DL1AA", "20", "5", 0),
                           Event(K::kContactInfo, "P1", "DL1AA", "40", "5", 0)}));
}

// The library holds the first ID's exchange; when that ID goes, the other's stands.
TEST_F(ContactBookTest, TheOtherIdTakesTheEntryOverWithItsExchange) {
  using K = DatagramKind;
  const ContactEvent keeper = Event(K::kContactInfo, "K", "SP1KK", "20", "7", 1);
  const ContactEvent first = Event(K::kContactInfo, "P1", "DL1AA", "20", "17", 0);
  ContactEvent second = Event(K::kContactInfo, "P2", "DL1AA", "20", "18", 0);
  book_->Apply(keeper);
  book_->Apply(first);
  book_->Apply(second);
  EXPECT_EQ(book_->last_summary().text, ReplaySummary({keeper, first}));
  EXPECT_EQ(book_->Apply(Event(K::kContactDelete, "P1", "DL1AA", "", "", 0)).change,
            BookChange::kDeleted);
  EXPECT_EQ(book_->size(), 2u);
  EXPECT_EQ(book_->last_summary().text, ReplaySummary({keeper, second}));
}

// A contact marked not to count never reaches the library; an edit that marks it takes it out,
// one that clears the mark puts it back.
TEST_F(ContactBookTest, ContactsMarkedNotToCount) {
  using K = DatagramKind;
  ContactEvent marked = Event(K::kContactInfo, "X", "DL1AA", "20", "5", 0);
  marked.counts = false;
  EXPECT_EQ(book_->Apply(marked).change, BookChange::kLeftOut);
  EXPECT_EQ(book_->size(), 0u);
  EXPECT_EQ(book_->ids(), 1u);
  ContactEvent cleared = marked;
  cleared.kind = K::kContactReplace;
  cleared.counts = true;
  EXPECT_EQ(book_->Apply(cleared).change, BookChange::kAdded);
  EXPECT_EQ(book_->size(), 1u);
  EXPECT_EQ(ScoredQsos(book_->last_summary()), 1);
  ContactEvent marked_again = cleared;
  marked_again.counts = false;
  BookOutcome out = book_->Apply(marked_again);
  EXPECT_EQ(out.change, BookChange::kLeftOut);
  EXPECT_EQ(book_->size(), 0u);
  EXPECT_EQ(ScoredQsos(out.summary), 0);
  ContactEvent deletion = Event(K::kContactDelete, "X", "DL1AA", "", "", 0);
  EXPECT_EQ(book_->Apply(deletion).change, BookChange::kDeleted);
  EXPECT_EQ(book_->ids(), 0u);
}

TEST_F(ContactBookTest, DuplicateFlaggedByTheCallCheckBeforeTheAdd) {
  using K = DatagramKind;
  EXPECT_NE(book_->Apply(Event(K::kContactInfo, "1", "DL1AA", "20", "5", 0)).check.code,
            host::kCheckDuplicate);
  BookOutcome second = book_->Apply(Event(K::kContactInfo, "2", "DL1AA", "20", "5", 3));
  EXPECT_EQ(second.change, BookChange::kAdded);
  EXPECT_EQ(second.check.code, host::kCheckDuplicate);
  EXPECT_TRUE(second.check.dupe_message.has_value());
}

}  // namespace
}  // namespace kevo::live
