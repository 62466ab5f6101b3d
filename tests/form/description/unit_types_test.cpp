#include "form/description/unit_types.h"

#include <gtest/gtest.h>

#include <string>

#include "form/description/button_properties.h"
#include "form/description/window_properties.h"

namespace {

// The program's numbering: library 1 lists the window first and the Button
// eleventh, library 4 the ZIP unit; the types between are not carried.
const UnitTypeInfo kWindow{"\xB4\xB0\xBF\xDA", kWindowTypeFlags, kWindowPropertyTable, nullptr};  // 窗口
const UnitTypeInfo kButton{"\xB0\xB4\xC5\xA5", kButtonTypeFlags, kButtonPropertyTable, nullptr};  // 按钮
const UnitTypeInfo kZip{"ZIP\xD1\xB9\xCB\xF5", type_flags::kWindowBased | type_flags::kHiddenAtRunTime, {},
                        nullptr};  // ZIP压缩
const UnitTypeInfo* const kLibrary1[] = {&kWindow, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         nullptr,  nullptr, nullptr, nullptr, &kButton};
const UnitTypeInfo* const kLibrary4[] = {&kZip};
const UnitLibrary kProgramLibraries[] = {{kLibrary1}, {}, {}, {kLibrary4}};

TEST(ResolveType, FindsTheProgramsTypes) {
  EXPECT_EQ(ResolveType(kProgramLibraries, 0x00010001), &kWindow);
  EXPECT_EQ(ResolveType(kProgramLibraries, 0x0001000B), &kButton);
  EXPECT_EQ(ResolveType(kProgramLibraries, 0x00040001), &kZip);
}

TEST(ResolveType, NumbersOutsideTheTablesNameNoType) {
  const TypeId none[] = {
      0x00000000, 0x00000001,  // library 0
      0x00010000,              // type 0
      0x0001000C,              // past library 1
      0x00010002,              // not carried
      0x00020001, 0x00030001,  // empty libraries
      0x00050001,              // past the last library
      0x40010001, 0x80010001,  // top bits 01 and 10: not unit types
      0xC0010001, 0xFFFFFFFF,
  };
  for (TypeId type : none) EXPECT_EQ(ResolveType(kProgramLibraries, type), nullptr) << std::hex << type;
}

TEST(ResolveType, TestsCanDeclareTheirOwnTypes) {
  const UnitTypeInfo probe{"probe", type_flags::kWindowBased, {}, nullptr};
  const UnitTypeInfo* const types[] = {&probe};
  const UnitLibrary libraries[] = {{types}};
  EXPECT_EQ(ResolveType(libraries, 0x00010001), &probe);
  EXPECT_EQ(ResolveType(libraries, 0x00010002), nullptr);
}

TEST(PropertyTables, IndicesOfTheWindowAndButtonProperties) {
  ASSERT_EQ(kWindowPropertyTable.size(), 32u);
  ASSERT_EQ(kButtonPropertyTable.size(), 14u);
  for (const auto& table : {std::span<const PropertyInfo>(kWindowPropertyTable),
                            std::span<const PropertyInfo>(kButtonPropertyTable)}) {
    EXPECT_EQ(std::string(table[0].name), "left");
    EXPECT_EQ(std::string(table[4].name), "tag");
    EXPECT_EQ(table[4].type, PropertyValueType::Text);
    EXPECT_EQ(std::string(table[7].name), "mousePointer");
    EXPECT_EQ(table[7].type, PropertyValueType::Bytes);
  }
  EXPECT_EQ(std::string(kWindowPropertyTable[8].name), "caption");
  EXPECT_EQ(std::string(kWindowPropertyTable[12].name), "pictureMode");
  EXPECT_EQ(std::string(kWindowPropertyTable[20].name), "icon");
  EXPECT_EQ(std::string(kWindowPropertyTable[25].name), "helpContext");
  EXPECT_EQ(kWindowPropertyTable[25].type, PropertyValueType::Integer);
  EXPECT_EQ(std::string(kWindowPropertyTable[31].name), "windowClassName");
  EXPECT_EQ(std::string(kButtonPropertyTable[8].name), "picture");
  EXPECT_EQ(std::string(kButtonPropertyTable[10].name), "caption");
  EXPECT_EQ(std::string(kButtonPropertyTable[13].name), "font");
  EXPECT_EQ(kButtonPropertyTable[13].type, PropertyValueType::Font);
}

}  // namespace
