#include "contest/rate_index.h"

#include <cmath>

namespace kevo {

namespace {

// Valid day counts closer than this never wrap a 32-bit minute count (1.44e9 minutes), so
// within it the age grows with the distance and nothing else.
constexpr double kNoWrapDays = 1.0e6;

constexpr int32_t kHourMinutes = 60;
constexpr int32_t kTenMinutes = 10;

int32_t AgeMinutes(double reference_day, double day) {
  return SpanWholeMinutes(CDateTimeSpan{reference_day - day, kDateTimeValid});
}

}  // namespace

bool RateIndex::HasLinearDay(const COleDateTime& time, double linear_day) {
  // Any status but null and invalid is taken as valid, as DateTimeDifference takes it.
  return time.m_status != kDateTimeNull && time.m_status != kDateTimeInvalid &&
         std::isfinite(linear_day);
}

bool RateIndex::Before(uint32_t a, uint32_t b) const {
  return nodes_[a].day < nodes_[b].day || (nodes_[a].day == nodes_[b].day && a < b);
}

RateTally RateIndex::Below(uint32_t node) const {
  return node == kNil ? RateTally{} : nodes_[node].below;
}

void RateIndex::Update(uint32_t node) {
  Node& n = nodes_[node];
  n.below = n.own;
  n.below.Add(Below(n.left));
  n.below.Add(Below(n.right));
}

uint32_t RateIndex::Merge(uint32_t a, uint32_t b) {
  if (a == kNil) return b;
  if (b == kNil) return a;
  if (nodes_[a].priority > nodes_[b].priority) {
    nodes_[a].right = Merge(nodes_[a].right, b);
    Update(a);
    return a;
  }
  nodes_[b].left = Merge(a, nodes_[b].left);
  Update(b);
  return b;
}

void RateIndex::Split(uint32_t node, uint32_t pivot, uint32_t* before, uint32_t* rest) {
  if (node == kNil) {
    *before = *rest = kNil;
    return;
  }
  if (Before(node, pivot)) {
    Split(nodes_[node].right, pivot, &nodes_[node].right, rest);
    *before = node;
  } else {
    Split(nodes_[node].left, pivot, before, &nodes_[node].left);
    *rest = node;
  }
  Update(node);
}

uint32_t RateIndex::EraseFrom(uint32_t node, uint32_t handle) {
  if (node == handle) return Merge(nodes_[node].left, nodes_[node].right);
  if (Before(handle, node)) {
    nodes_[node].left = EraseFrom(nodes_[node].left, handle);
  } else {
    nodes_[node].right = EraseFrom(nodes_[node].right, handle);
  }
  Update(node);
  return node;
}

uint32_t RateIndex::Insert(const COleDateTime& time, double linear_day, uint32_t points) {
  const RateTally own{1u, points};
  all_.Add(own);
  if (!HasLinearDay(time, linear_day)) {
    without_day_.Add(own);
    return kNil;
  }
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  uint32_t node;
  if (free_.empty()) {
    node = static_cast<uint32_t>(nodes_.size());
    nodes_.emplace_back();
  } else {
    node = free_.back();
    free_.pop_back();
  }
  nodes_[node] = Node{linear_day, random_, kNil, kNil, own, own};
  uint32_t before, rest;
  Split(root_, node, &before, &rest);
  root_ = Merge(Merge(before, node), rest);
  return node;
}

void RateIndex::Erase(const COleDateTime& time, double linear_day, uint32_t points,
                      uint32_t handle) {
  const RateTally own{1u, points};
  all_.Subtract(own);
  if (!HasLinearDay(time, linear_day)) {
    without_day_.Subtract(own);
    return;
  }
  root_ = EraseFrom(root_, handle);
  free_.push_back(handle);
}

// The sum over the nodes for which `inside(day)` holds, when it holds for a top run of the
// order: one path from the root.
template <class Test>
RateTally RateIndex::SumFromTop(const Test& inside) const {
  RateTally sum;
  for (uint32_t node = root_; node != kNil;) {
    if (inside(nodes_[node].day)) {
      sum.Add(nodes_[node].own);
      sum.Add(Below(nodes_[node].right));
      node = nodes_[node].left;
    } else {
      node = nodes_[node].right;
    }
  }
  return sum;
}

// Every node at least kNoWrapDays before the reference, in order.
template <class Visit>
void RateIndex::VisitBottom(uint32_t node, double reference_day, const Visit& visit) const {
  if (node == kNil) return;
  VisitBottom(nodes_[node].left, reference_day, visit);
  if (reference_day - nodes_[node].day < kNoWrapDays) return;
  visit(nodes_[node]);
  VisitBottom(nodes_[node].right, reference_day, visit);
}

// Every node at least kNoWrapDays after the reference.
template <class Visit>
void RateIndex::VisitTop(uint32_t node, double reference_day, const Visit& visit) const {
  if (node == kNil) return;
  VisitTop(nodes_[node].right, reference_day, visit);
  if (reference_day - nodes_[node].day > -kNoWrapDays) return;
  visit(nodes_[node]);
  VisitTop(nodes_[node].left, reference_day, visit);
}

RateWindowTallies RateIndex::Windows(const COleDateTime& reference) const {
  const double reference_day = DateTimeDifference(reference, MakeDateTime(0.0)).m_span;
  if (!HasLinearDay(reference, reference_day)) return RateWindowTallies{all_, all_};

  // Near the reference, the window test itself; far after it, always in (a run at the top
  // that is taken out again below); far before it, never.
  const auto in_window_or_far_after = [reference_day](int32_t window) {
    return [reference_day, window](double day) {
      const double days = reference_day - day;
      if (days >= kNoWrapDays) return false;
      if (days <= -kNoWrapDays) return true;
      return AgeMinutes(reference_day, day) < window;
    };
  };
  const auto far_after = [reference_day](double day) {
    return reference_day - day <= -kNoWrapDays;
  };
  RateWindowTallies windows{SumFromTop(in_window_or_far_after(kHourMinutes)),
                            SumFromTop(in_window_or_far_after(kTenMinutes))};
  const RateTally far = SumFromTop(far_after);
  windows.last_hour.Subtract(far);
  windows.last_ten_minutes.Subtract(far);

  const auto count_far = [&windows, reference_day](const Node& node) {
    const int32_t age = AgeMinutes(reference_day, node.day);
    if (age < kHourMinutes) windows.last_hour.Add(node.own);
    if (age < kTenMinutes) windows.last_ten_minutes.Add(node.own);
  };
  VisitBottom(root_, reference_day, count_far);
  VisitTop(root_, reference_day, count_far);
  windows.last_hour.Add(without_day_);
  windows.last_ten_minutes.Add(without_day_);
  return windows;
}

}  // namespace kevo
