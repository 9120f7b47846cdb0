// The scored entries by time, so that the summary's rate windows (entries less than 60 and
// less than 10 whole minutes older than a reference) are counted without a walk of the log.
//
// An entry's age is SpanWholeMinutes of the reference minus its time. For two valid day counts
// less than a million days apart the age never wraps, and it only grows as the entry's linear
// day count falls: the entries inside a window are then a run at the top of the order, found
// by one descent that asks the very same age test at each node it passes. The rest are asked
// one by one: entries a million days or more away (whose 32-bit minute count may wrap into a
// window), and entries without a linear day count (null, invalid, NaN, infinite), which every
// window holds whatever the reference. A reference without a finite day count gives every
// entry that age too, so then the windows hold everything.
#ifndef KEVO_CONTEST_RATE_INDEX_H_
#define KEVO_CONTEST_RATE_INDEX_H_

#include <cstdint>
#include <vector>

#include "datetime/date_time.h"

namespace kevo {

// Entries and their points (summed with 32-bit wrapping).
struct RateTally {
  uint32_t qsos = 0;
  uint32_t points = 0;
  void Add(const RateTally& other) {
    qsos += other.qsos;
    points += other.points;
  }
  void Subtract(const RateTally& other) {
    qsos -= other.qsos;
    points -= other.points;
  }
};

struct RateWindowTallies {
  RateTally last_hour;
  RateTally last_ten_minutes;
};

class RateIndex {
 public:
  RateIndex() = default;

  // Adds an entry; the handle it returns takes it out again.
  uint32_t Insert(const COleDateTime& time, double linear_day, uint32_t points);
  void Erase(const COleDateTime& time, double linear_day, uint32_t points, uint32_t handle);
  // The entries whose age against the reference is under 60 and under 10 whole minutes.
  RateWindowTallies Windows(const COleDateTime& reference) const;

 private:
  static constexpr uint32_t kNil = UINT32_MAX;

  struct Node {
    double day;
    uint32_t priority;
    uint32_t left, right;
    RateTally own, below;  // `below`: the node and both subtrees
  };

  static bool HasLinearDay(const COleDateTime& time, double linear_day);
  bool Before(uint32_t a, uint32_t b) const;
  void Update(uint32_t node);
  uint32_t Merge(uint32_t a, uint32_t b);
  void Split(uint32_t node, uint32_t pivot, uint32_t* before, uint32_t* rest);
  uint32_t EraseFrom(uint32_t node, uint32_t handle);
  RateTally Below(uint32_t node) const;
  template <class Test>
  RateTally SumFromTop(const Test& inside) const;
  template <class Visit>
  void VisitBottom(uint32_t node, double reference_day, const Visit& visit) const;
  template <class Visit>
  void VisitTop(uint32_t node, double reference_day, const Visit& visit) const;

  std::vector<Node> nodes_;
  std::vector<uint32_t> free_;
  uint32_t root_ = kNil;
  uint32_t random_ = 0x2545F491u;  // the priorities' xorshift state; any non-zero start
  RateTally without_day_;          // entries every window holds
  RateTally all_;
};

}  // namespace kevo

#endif  // KEVO_CONTEST_RATE_INDEX_H_
