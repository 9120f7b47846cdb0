// The contact book against the built plug-in: what each datagram changes, and that the
// contest it leaves scores as kevo-replay scores the contacts that remain.
#include "tools/live/contact_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/replay/plugin_session.h"

namespace kevo::live {
namespace {

using replay::HostSession;
using replay::LoadedPlugin;

ContactEvent Event(DatagramKind kind, std::string id, std::string call, std::string band,
                   std::string received, double minutes) {
  ContactEvent event;
  event.kind = kind;
  event.id = std::move(id);
  static_cast<replay::Contact&>(event.contact) =
      replay::ContactAt(std::move(call), std::move(band), "CW", std::move(received), "", minutes);
  return event;
}

class ContactBookTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(replay::LoadPlugin(KEVO_PLUGIN_PATH, replay::NameStyle::kPlain, plugin_, error))
        << error;
    session_ = std::make_unique<HostSession>(plugin_.entries);
    session_->Reset(settings_);
    book_ = std::make_unique<ContactBook>(*session_);
  }

  // What kevo-replay says for these contacts, logged in this order with a summary after each.
  std::string ReplaySummary(const std::vector<ContactEvent>& events) {
    std::vector<replay::QsoValues> contacts;
    for (const ContactEvent& event : events) {
      replay::QsoValues qso;
      static_cast<replay::Contact&>(qso) = event.contact;
      contacts.push_back(qso);
    }
    return replay::ReplayThroughPlugin(settings_, contacts).summary.text;
  }

  replay::HostSettings settings_{0, 12, "W"};
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
      {Event(K::kContactInfo, "A", "DL1AA", "20", "5", 0), BookChange::kRepeat, 2},
      {Event(K::kContactReplace, "A", "DL1AA", "20", "6", 0), BookChange::kRepeat, 2},
      {Event(K::kContactDelete, "Z", "Z9ZZ", "", "", 5), BookChange::kUnknownDelete, 2},
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
                                    Event(K::kContactInfo, "C", "OK1CC", "20", "3", 2)}));
}

TEST_F(ContactBookTest, DuplicateFlaggedByTheCallCheckBeforeTheAdd) {
  using K = DatagramKind;
  EXPECT_NE(book_->Apply(Event(K::kContactInfo, "1", "DL1AA", "20", "5", 0)).check.code,
            replay::kCheckDuplicate);
  BookOutcome second = book_->Apply(Event(K::kContactInfo, "2", "DL1AA", "20", "5", 3));
  EXPECT_EQ(second.change, BookChange::kAdded);
  EXPECT_EQ(second.check.code, replay::kCheckDuplicate);
  EXPECT_TRUE(second.check.dupe_message.has_value());
}

}  // namespace
}  // namespace kevo::live
