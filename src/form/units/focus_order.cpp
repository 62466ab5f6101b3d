#include "form/units/focus_order.h"

#include <algorithm>

std::vector<std::uint32_t> TabSequence(std::vector<FocusCandidate> candidates) {
  std::stable_sort(candidates.begin(), candidates.end(), [](const FocusCandidate& a, const FocusCandidate& b) {
    return a.tabOrder != b.tabOrder ? a.tabOrder < b.tabOrder : a.index > b.index;
  });
  std::vector<std::uint32_t> sequence;
  for (const FocusCandidate& c : candidates)
    if (c.eligible) sequence.push_back(c.index);
  return sequence;
}

std::optional<std::uint32_t> NextInTabOrder(const std::vector<std::uint32_t>& sequence,
                                            std::optional<std::uint32_t> current, bool forward) {
  if (sequence.empty()) return std::nullopt;
  auto at = current ? std::find(sequence.begin(), sequence.end(), *current) : sequence.end();
  if (at == sequence.end()) return forward ? sequence.front() : sequence.back();
  std::size_t i = static_cast<std::size_t>(at - sequence.begin());
  std::size_t n = sequence.size();
  return sequence[forward ? (i + 1) % n : (i + n - 1) % n];
}
