// The contest as the loggers told it: every contact by its ID, kept in the library through a
// host session. A new contact gets the call check and the add, an edit the removal of the old
// contact and the add of the new one, a delete the removal; after every change the summary is
// asked for at once, since a summary rewrites one-byte exchanges in the library's log and a
// skipped summary would change the score. A datagram that tells nothing new (a re-send from
// another station PC, a second delete) changes nothing.
#ifndef KEVO_LIVE_CONTACT_BOOK_H_
#define KEVO_LIVE_CONTACT_BOOK_H_

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "tools/live/contact_event.h"
#include "tools/replay/host/host_session.h"

namespace kevo::live {

enum class BookChange { kAdded, kReplaced, kDeleted, kRepeat, kUnknownDelete };

struct BookOutcome {
  BookChange change = BookChange::kRepeat;
  replay::CheckAnswer check;  // the call check before an add (added and replaced)
  replay::Summary summary;    // the summary after the change; unset text for a repeat
};

class ContactBook {
 public:
  explicit ContactBook(replay::HostSession& session) : session_(session) {}

  BookOutcome Apply(const ContactEvent& event);

  std::size_t size() const { return contacts_.size(); }
  const replay::Summary& last_summary() const { return last_summary_; }

 private:
  BookOutcome Add(const ContactEvent& event, BookChange change);

  replay::HostSession& session_;
  std::unordered_map<std::string, replay::Contact> contacts_;
  // Deleted IDs: another station PC may re-send the contact after the delete.
  std::unordered_set<std::string> deleted_;
  replay::Summary last_summary_;
};

}  // namespace kevo::live

#endif  // KEVO_LIVE_CONTACT_BOOK_H_
