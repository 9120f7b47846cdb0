#include "tools/live/contact_book.h"

namespace kevo::live {

namespace {

bool SameContact(const replay::Contact& a, const replay::Contact& b) {
  return a.call == b.call && a.band == b.band && a.mode == b.mode && a.time.m_dt == b.time.m_dt &&
         a.time.m_status == b.time.m_status && a.sent == b.sent && a.received == b.received &&
         a.prefix == b.prefix && a.region == b.region;
}

}  // namespace

BookOutcome ContactBook::Add(const ContactEvent& event, BookChange change) {
  BookOutcome outcome;
  outcome.change = change;
  outcome.check = session_.Log(event.contact);
  contacts_[event.id] = event.contact;
  outcome.summary = session_.AskSummary();
  last_summary_ = outcome.summary;
  return outcome;
}

BookOutcome ContactBook::Apply(const ContactEvent& event) {
  BookOutcome repeat;
  if (deleted_.count(event.id) != 0) return repeat;
  auto known = contacts_.find(event.id);
  switch (event.kind) {
    case DatagramKind::kContactInfo:
      if (known != contacts_.end()) return repeat;
      return Add(event, BookChange::kAdded);
    case DatagramKind::kContactReplace:
      // An edit of a contact never seen (logged before kevo-live started) is its first word.
      if (known == contacts_.end()) return Add(event, BookChange::kAdded);
      if (SameContact(known->second, event.contact)) return repeat;
      session_.Remove(known->second);
      return Add(event, BookChange::kReplaced);
    case DatagramKind::kContactDelete: {
      if (known == contacts_.end()) {
        BookOutcome unknown;  // logged before kevo-live started, or a mistyped ID
        unknown.change = BookChange::kUnknownDelete;
        return unknown;
      }
      session_.Remove(known->second);
      contacts_.erase(known);
      deleted_.insert(event.id);
      BookOutcome outcome;
      outcome.change = BookChange::kDeleted;
      outcome.summary = session_.AskSummary();
      last_summary_ = outcome.summary;
      return outcome;
    }
  }
  return repeat;
}

}  // namespace kevo::live
