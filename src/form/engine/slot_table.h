// What the engine keeps for a unit under a 32-bit key, the value a record's
// dword slot holds in place of a pointer so that records keep their layout on
// 64-bit Windows too. The key is the place + 1, never 0 (an empty slot);
// freed places are reused.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

template <typename Kept>
class SlotTable {
 public:
  // The key for a new value, which must not be empty.
  std::uint32_t Add(Kept value) {
    for (std::size_t i = 0; i < places_.size(); ++i) {
      if (!places_[i]) {
        places_[i] = std::move(value);
        return static_cast<std::uint32_t>(i + 1);
      }
    }
    places_.push_back(std::move(value));
    return static_cast<std::uint32_t>(places_.size());
  }

  // The value behind a key, or nullptr for a key of no value.
  const Kept* Find(std::uint32_t key) const {
    return key >= 1 && key <= places_.size() && places_[key - 1] ? &places_[key - 1] : nullptr;
  }

  // Forgets the value; a key of no value is ignored.
  void Remove(std::uint32_t key) {
    if (key >= 1 && key <= places_.size()) places_[key - 1] = Kept();
  }

 private:
  std::vector<Kept> places_;
};
