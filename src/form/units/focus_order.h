// The order in which Tab moves the focus through a window's units.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct FocusCandidate {
  std::uint32_t index;     // position in the form's unit order
  std::uint32_t tabOrder;  // lower comes first
  bool eligible;           // visible, enabled and a tab stop
};

// Eligible units in Tab order: ascending tabOrder, and among equal values the
// unit that comes later in the form first.
std::vector<std::uint32_t> TabSequence(std::vector<FocusCandidate> candidates);

// The unit after (or, backwards, before) current in the sequence, wrapping
// around; the first (or last) one when current is not in it.
std::optional<std::uint32_t> NextInTabOrder(const std::vector<std::uint32_t>& sequence,
                                            std::optional<std::uint32_t> current, bool forward);
