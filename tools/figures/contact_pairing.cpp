#include "tools/figures/contact_pairing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "tools/host/boundary_values.h"

namespace kevo::figures {

namespace {

using GroupKey = std::tuple<std::string, std::string, std::string, bool>;

GroupKey KeyOf(const ContactPoint& contact) {
  return {contact.call, contact.band, contact.mode, contact.check_code == host::kCheckDuplicate};
}

struct Timed {
  const ContactPoint* contact;
  double time;  // NaN without a valid time
};

bool Before(const Timed& a, const Timed& b) {
  if (std::isnan(a.time) || std::isnan(b.time)) return !std::isnan(a.time) && std::isnan(b.time);
  return a.time < b.time;
}

// Times of one group, nearest first: each own contact, in time order, takes the nearest
// other one left within the tolerance. Contacts without a time pair in file order.
void PairGroup(std::vector<Timed>& own, std::vector<Timed>& other, Pairing& pairing) {
  std::stable_sort(own.begin(), own.end(), Before);
  std::stable_sort(other.begin(), other.end(), Before);
  std::vector<bool> taken(other.size(), false);
  constexpr double kTolerance = kPairingMinutes / 1440.0 + 1e-9;
  for (const Timed& mine : own) {
    std::size_t best = other.size();
    double best_gap = 0.0;
    for (std::size_t i = 0; i < other.size(); ++i) {
      if (taken[i]) continue;
      bool untimed = std::isnan(mine.time) || std::isnan(other[i].time);
      if (untimed && std::isnan(mine.time) != std::isnan(other[i].time)) continue;
      double gap = untimed ? 0.0 : std::fabs(other[i].time - mine.time);
      if (gap > kTolerance) continue;
      if (best == other.size() || gap < best_gap) {
        best = i;
        best_gap = gap;
      }
      if (untimed) break;
    }
    if (best == other.size()) {
      pairing.only_own.push_back(mine.contact);
    } else {
      taken[best] = true;
      pairing.both.push_back({mine.contact, other[best].contact});
    }
  }
  for (std::size_t i = 0; i < other.size(); ++i) {
    if (!taken[i]) pairing.only_other.push_back(other[i].contact);
  }
}

double TimeOf(const ContactPoint& contact) { return contact.time ? *contact.time : std::nan(""); }

template <typename List>
void SortByTime(List& list) {
  std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return Before({nullptr, TimeOf(*a)}, {nullptr, TimeOf(*b)});
  });
}

}  // namespace

Pairing PairContacts(const ReportData& own, const ReportData& other, double shift) {
  std::map<GroupKey, std::pair<std::vector<Timed>, std::vector<Timed>>> groups;
  for (const ContactPoint& contact : own.contacts) {
    groups[KeyOf(contact)].first.push_back({&contact, TimeOf(contact)});
  }
  for (const ContactPoint& contact : other.contacts) {
    groups[KeyOf(contact)].second.push_back({&contact, TimeOf(contact) + shift});
  }
  Pairing pairing;
  for (auto& [key, lists] : groups) PairGroup(lists.first, lists.second, pairing);
  std::stable_sort(pairing.both.begin(), pairing.both.end(),
                   [](const ContactPair& a, const ContactPair& b) {
                     return Before({nullptr, TimeOf(*a.own)}, {nullptr, TimeOf(*b.own)});
                   });
  SortByTime(pairing.only_own);
  SortByTime(pairing.only_other);
  return pairing;
}

std::optional<LogSpan> SpanOf(const ReportData& data) {
  if (data.window) return LogSpan{data.window->first, data.window->last};
  std::optional<LogSpan> span;
  for (const ContactPoint& contact : data.contacts) {
    if (!contact.time) continue;
    if (!span) span = LogSpan{*contact.time, *contact.time};
    span->first = std::min(span->first, *contact.time);
    span->last = std::max(span->last, *contact.time);
  }
  return span;
}

double ShiftOf(const ReportData& data, const ReportData& other) {
  std::optional<LogSpan> own = SpanOf(data);
  std::optional<LogSpan> theirs = SpanOf(other);
  if (!own || !theirs) return 0.0;
  if (theirs->last >= own->first && theirs->first <= own->last) return 0.0;
  return own->first - theirs->first;
}

}  // namespace kevo::figures
