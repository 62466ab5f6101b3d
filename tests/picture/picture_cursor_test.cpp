// Mouse pointers made from pointer data, under Wine. This test program
// carries the hand cursor as its resource 1032, as the installer does.
#include "picture/picture_cursor.h"

#include <gtest/gtest.h>

#include <string>

#include "picture_fixtures.h"

namespace {

using namespace picture_fixtures;

UnitCursor Make(const std::string& pointerData) {
  return MakeUnitCursor(reinterpret_cast<const std::uint8_t*>(pointerData.data()), pointerData.size());
}

POINT HotSpot(HCURSOR cursor) {
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return {-1, -1};
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_FALSE(info.fIcon);
  return {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

TEST(UnitCursorTest, KindsGiveSharedSystemPointersAndTheOwnHand) {
  const HCURSOR ownHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1032));
  ASSERT_NE(ownHand, nullptr) << "the test program carries resource 1032";
  const struct {
    const char* name;
    std::string pointerData;
    HCURSOR expected;
  } cases[] = {
      {"kind 0", CursorSpecOfKind(0), nullptr},
      {"no data", "", nullptr},
      {"kind 1", CursorSpecOfKind(1), LoadCursorA(nullptr, IDC_ARROW)},
      {"kind 4", CursorSpecOfKind(4), LoadCursorA(nullptr, IDC_WAIT)},
      {"kind 12", CursorSpecOfKind(12), LoadCursorA(nullptr, IDC_SIZEWE)},
      {"kind 3 in one byte", std::string("\x03", 1), LoadCursorA(nullptr, IDC_IBEAM)},
      {"a system pointer's own number", CursorSpecOfKind(32515), LoadCursorA(nullptr, IDC_CROSS)},
      {"kind 14", CursorSpecOfKind(14), ownHand},
      {"the hand's own number", CursorSpecOfKind(32649), ownHand},
      {"kind 99", CursorSpecOfKind(99), nullptr},
      {"kind -1 without a file", CursorSpecOfKind(-1), nullptr},
      {"kind -1 with bytes that are no cursor file", CursorSpecOfKind(-1) + std::string(40, 'x'), nullptr},
  };
  for (const auto& c : cases) {
    const UnitCursor cursor = Make(c.pointerData);
    EXPECT_EQ(cursor.get(), c.expected) << c.name;
    EXPECT_FALSE(cursor.isOwned()) << c.name;
  }
  EXPECT_NE(ownHand, LoadCursorA(nullptr, IDC_HAND));
}

TEST(UnitCursorTest, CursorFileBytesMakeAnOwnedCursorWithItsHotSpot) {
  const std::string hand = ReadArt("hand.cur");
  for (const std::string& pointerData : {CursorSpecOfKind(-1) + hand, hand}) {
    const UnitCursor cursor = Make(pointerData);
    ASSERT_TRUE(cursor);
    EXPECT_TRUE(cursor.isOwned());
    const POINT hotSpot = HotSpot(cursor.get());
    EXPECT_EQ(hotSpot.x, 11);
    EXPECT_EQ(hotSpot.y, 1);
  }
  // A broken file after kind 1 leaves the arrow.
  std::string broken = CursorSpecOfKind(1) + hand.substr(4, 30);
  const UnitCursor arrow = Make(broken);
  EXPECT_EQ(arrow.get(), LoadCursorA(nullptr, IDC_ARROW));
  // A cursor file whose image lies outside the data is no cursor.
  std::string lying = hand;
  lying[17] = '\x7F';  // the image size's high byte
  EXPECT_FALSE(Make(CursorSpecOfKind(-1) + lying));
  EXPECT_FALSE(Make(lying));
}

TEST(UnitCursorTest, MalformedPicturesGiveNoCursorOfTheirOwn) {
  for (const MalformedPicture& bad : MalformedPictures())
    EXPECT_FALSE(Make(CursorSpecOfKind(-1) + bad.bytes).isOwned()) << bad.name;
}

}  // namespace
