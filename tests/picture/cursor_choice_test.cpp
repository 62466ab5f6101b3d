#include "picture/cursor_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "picture_fixtures.h"

namespace {

using picture_fixtures::CursorSpecOfKind;

CursorSpecChoice Choose(const std::string& pointerData) {
  return ChooseCursor(reinterpret_cast<const std::uint8_t*>(pointerData.data()), pointerData.size());
}

CursorSpecChoice System(std::uint16_t pointer) { return {false, CursorSpecSource::kSystem, pointer, 0}; }

TEST(CursorChoiceTest, PointerKindsNameSystemPointersOrTheOwnHand) {
  const std::uint16_t byKind[] = {0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                  32646, 32643, 32645, 32642, 32644, 32516, 0};
  for (std::int32_t kind = 1; kind <= 13; ++kind)
    EXPECT_EQ(Choose(CursorSpecOfKind(kind)), System(byKind[kind])) << kind;
  const CursorSpecChoice none{};
  const CursorSpecChoice ownHand{false, CursorSpecSource::kOwnHand, 0, 0};
  const struct {
    const char* name;
    std::string pointerData;
    CursorSpecChoice choice;
  } cases[] = {
      {"kind 0", CursorSpecOfKind(0), none},
      {"no data", "", none},
      {"kind 14", CursorSpecOfKind(14), ownHand},
      {"the hand's own number", CursorSpecOfKind(32649), ownHand},
      {"a system pointer's own number", CursorSpecOfKind(32513), System(32513)},
      {"kind 15", CursorSpecOfKind(15), none},
      {"a number no pointer has", CursorSpecOfKind(32517), none},
      {"kind -2", CursorSpecOfKind(-2), none},
      {"three bytes: the first alone", std::string("\x03\xFF\xFF", 3), System(32513)},
      {"one byte", std::string("\x0E", 1), ownHand},
      {"kind -1 without a file", CursorSpecOfKind(-1), none},
      {"kind -1 with a file", CursorSpecOfKind(-1, "cursor file bytes"), {false, CursorSpecSource::kCursorFile, 0, 4}},
      {"ten bytes: not tried as a file", CursorSpecOfKind(2, "123456"), System(32515)},
      {"eleven bytes: tried as a file first",
       CursorSpecOfKind(2, "1234567"),
       {true, CursorSpecSource::kSystem, 32515, 0}},
      {"a cursor file as it is",
       std::string("\0\0\2\0\1\0", 6) + std::string(40, 'x'),
       {true, CursorSpecSource::kNone, 0, 0}},
  };
  for (const auto& c : cases) {
    const CursorSpecChoice choice = Choose(c.pointerData);
    EXPECT_EQ(choice.tryWholeAsFile, c.choice.tryWholeAsFile) << c.name;
    EXPECT_EQ(choice.source, c.choice.source) << c.name;
    EXPECT_EQ(choice.systemPointer, c.choice.systemPointer) << c.name;
    EXPECT_EQ(choice.fileOffset, c.choice.fileOffset) << c.name;
  }
}

}  // namespace
