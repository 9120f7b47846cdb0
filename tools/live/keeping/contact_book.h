// The contest as the loggers told it: every contact by its ID, kept in the library through a
// host session. A new contact gets the call check and the add, an edit the removal of the old
// contact and the add of the new one, a delete the removal; after every change the summary is
// asked for at once, since a summary rewrites one-byte exchanges in the library's log and a
// skipped summary would change the score. A datagram that tells nothing new (a re-send from
// another station PC, a second delete) changes nothing.
//
// The library keeps one entry for contacts with the same call, band, mode and time, so two
// IDs (a contact logged twice, or by two station PCs) can stand for one entry: the book counts
// the IDs of each entry and removes the entry only with the last of them.
//
// An edit is always the contact's new state: some loggers send it as a delete followed by the
// replace, so a replace after a delete brings the contact back. Only a late contactinfo of a
// deleted ID (another PC re-sending it) is a repeat. A contact the logger marks as not to count
// is known by its ID but never given to the library.
#ifndef KEVO_TOOLS_LIVE_KEEPING_CONTACT_BOOK_H_
#define KEVO_TOOLS_LIVE_KEEPING_CONTACT_BOOK_H_

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tools/host/host_session.h"
#include "tools/live/intake/contact_event.h"

namespace kevo::live {

// kLeftOut: the contact now stands as one not to count (new, or an edit that marked it).
// kUnknownDelete: a delete of an ID never seen (logged before kevo-live started, or mistyped).
enum class BookChange { kAdded, kReplaced, kDeleted, kRepeat, kLeftOut, kUnknownDelete };

struct BookOutcome {
  BookChange change = BookChange::kRepeat;
  host::CheckAnswer check;  // the call check before an add (added and replaced)
  host::Summary summary;    // the summary after the change; unset text for a repeat
};

class ContactBook {
 public:
  explicit ContactBook(host::HostSession& session) : session_(session) {}

  BookOutcome Apply(const ContactEvent& event);

  // Entries in the library now: IDs that stand for one entry count once.
  std::size_t size() const { return entries_.size(); }
  // IDs known now, those not to count included.
  std::size_t ids() const { return contacts_.size(); }
  const host::Summary& last_summary() const { return last_summary_; }

  // Calls visit(contact, timestamp) for every ID whose contact counts.
  template <typename Visit>
  void ForEachCounted(Visit visit) const {
    for (const auto& [id, held] : contacts_) {
      if (held.counts) visit(held.contact, held.timestamp);
    }
  }

 private:
  struct Held {
    host::Contact contact;
    bool counts = true;
    std::string timestamp;  // as the logger wrote it
  };

  // Gives the contact to the library (or only notes it when it does not count).
  BookOutcome Take(const ContactEvent& event, BookChange change);
  // Takes the ID's contact back from the library when no other ID stands for its entry, or
  // hands the entry to one that does; true when the library changed.
  bool Release(const std::string& id, const Held& held);
  BookOutcome Summarised(BookChange change);

  host::HostSession& session_;
  std::unordered_map<std::string, Held> contacts_;
  // The library's entries by their identity: the IDs that stand for each, and the one whose
  // contact the library holds (the first logged; the library ignores the others' adds).
  struct Entry {
    std::vector<std::string> ids;
    std::string holder;
  };
  std::unordered_map<std::string, Entry> entries_;
  // Deleted IDs: another station PC may re-send the contact after the delete.
  std::unordered_set<std::string> deleted_;
  host::Summary last_summary_;
};

// The library's identity of a contact: call, band, mode and time to the bit.
std::string EntryKey(const host::Contact& contact);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_CONTACT_BOOK_H_
