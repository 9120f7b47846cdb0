#include "tools/live/keeping/contact_book.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kevo::live {

namespace {

bool SameContact(const host::Contact& a, const host::Contact& b) {
  return a.call == b.call && a.band == b.band && a.mode == b.mode && a.time.m_dt == b.time.m_dt &&
         a.time.m_status == b.time.m_status && a.sent == b.sent && a.received == b.received &&
         a.prefix == b.prefix && a.region == b.region;
}

}  // namespace

std::string EntryKey(const host::Contact& contact) {
  std::uint64_t bits = 0;
  static_assert(sizeof bits == sizeof contact.time.m_dt);
  std::memcpy(&bits, &contact.time.m_dt, sizeof bits);
  // The separator cannot occur in a call, band or mode a logger sends as text.
  return contact.call + '\x1f' + contact.band + '\x1f' + contact.mode + '\x1f' +
         std::to_string(bits) + '\x1f' + std::to_string(contact.time.m_status);
}

BookOutcome ContactBook::Summarised(BookChange change) {
  BookOutcome outcome;
  outcome.change = change;
  outcome.summary = session_.AskSummary();
  last_summary_ = outcome.summary;
  return outcome;
}

BookOutcome ContactBook::Take(const ContactEvent& event, BookChange change) {
  contacts_[event.id] = Held{event.contact, event.counts, event.timestamp};
  if (!event.counts) {
    // Nothing reached the library; the summary stands unless an edit just took the contact out.
    BookOutcome outcome;
    outcome.change = BookChange::kLeftOut;
    outcome.summary = last_summary_;
    return outcome;
  }
  Entry& entry = entries_[EntryKey(event.contact)];
  entry.ids.push_back(event.id);
  if (entry.ids.size() == 1) entry.holder = event.id;
  // A second ID of an entry is logged as a host would: the call check calls it a duplicate and
  // the library keeps its one entry.
  host::CheckAnswer check = session_.Log(event.contact);
  BookOutcome outcome = Summarised(change);
  outcome.check = check;
  return outcome;
}

bool ContactBook::Release(const std::string& id, const Held& held) {
  if (!held.counts) return false;
  auto found = entries_.find(EntryKey(held.contact));
  if (found == entries_.end()) return false;
  Entry& entry = found->second;
  entry.ids.erase(std::remove(entry.ids.begin(), entry.ids.end(), id), entry.ids.end());
  if (entry.ids.empty()) {
    entries_.erase(found);
    session_.Remove(held.contact);
    return true;
  }
  if (entry.holder != id) return false;
  // The library still holds this ID's exchange: another ID of the entry takes over, with its
  // own exchange, prefix and region when they differ.
  entry.holder = entry.ids.front();
  const host::Contact& heir = contacts_.at(entry.holder).contact;
  if (SameContact(heir, held.contact)) return false;
  session_.Remove(held.contact);
  session_.Log(heir);
  return true;
}

BookOutcome ContactBook::Apply(const ContactEvent& event) {
  BookOutcome repeat;
  auto known = contacts_.find(event.id);
  switch (event.kind) {
    case DatagramKind::kContactInfo:
      if (deleted_.count(event.id) != 0 || known != contacts_.end()) return repeat;
      return Take(event, BookChange::kAdded);
    case DatagramKind::kContactReplace: {
      deleted_.erase(event.id);
      // An edit of a contact never seen (logged before kevo-live started, or deleted just
      // before) is its first word.
      if (known == contacts_.end()) return Take(event, BookChange::kAdded);
      Held old = known->second;
      if (old.counts == event.counts && SameContact(old.contact, event.contact)) return repeat;
      bool removed = Release(event.id, old);
      if (!event.counts) {
        BookOutcome outcome = Take(event, BookChange::kLeftOut);
        if (removed) outcome = Summarised(BookChange::kLeftOut);
        if (!old.counts) outcome.change = BookChange::kRepeat;  // still left out
        return outcome;
      }
      return Take(event, old.counts ? BookChange::kReplaced : BookChange::kAdded);
    }
    case DatagramKind::kContactDelete: {
      if (known == contacts_.end()) {
        if (deleted_.count(event.id) != 0) return repeat;  // a re-sent delete
        BookOutcome unknown;
        unknown.change = BookChange::kUnknownDelete;
        return unknown;
      }
      bool removed = Release(event.id, known->second);
      contacts_.erase(known);
      deleted_.insert(event.id);
      if (removed) return Summarised(BookChange::kDeleted);
      BookOutcome outcome;
      outcome.change = BookChange::kDeleted;
      outcome.summary = last_summary_;
      return outcome;
    }
  }
  return repeat;
}

}  // namespace kevo::live
