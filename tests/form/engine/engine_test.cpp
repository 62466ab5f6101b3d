// The form engine on real windows under Wine, with test-only unit types:
// loading, events, property writes, the way back to the pristine template,
// and, in child processes, the message loop's end and the fatal errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine_fixtures.h"
#include "form/description/form_description.h"
#include "form/engine/loader.h"
#include "form/engine/properties.h"
#include "form/engine/runtime.h"
#include "form/engine/template_access.h"
#include "installer_driver.h"
#include "support/child_process.h"
#include "support/scratch.h"

namespace {

using namespace engine_fixtures;
using installer_driver::Gbk;

constexpr UnitReference kWindowReference{kWindow, kWindowUnit, kWindowType};

// The probe units' routines for their own events.
constexpr int kOnProbeCreate = 5;
constexpr int kOnUnitsCreated = 6;
constexpr int kOnLoadFinished = 7;

std::vector<EventBinding> ProbeBindings() {
  return {{kCreateEvent, RoutineOffset(kOnProbeCreate)},
          {kUnitsCreatedEvent, RoutineOffset(kOnUnitsCreated)},
          {kLoadFinishedEvent, RoutineOffset(kOnLoadFinished)}};
}

UnitRecordFields ProbeUnit(TypeId type, std::uint32_t flags, UnitId parent = 0) {
  UnitRecordFields f = UnitOf(type, flags, ProbeBindings());
  f.parent = parent;
  return f;
}

WindowTemplate& TemplateOf(UnitId window) { return *units::FindWindow(window); }

std::uint32_t IndexIn(UnitId window, UnitId unit) { return *units::IndexOf(TemplateOf(window), unit); }

std::uint32_t FlagsOf(UnitId window, UnitId unit) { return units::FlagsOf(TemplateOf(window), IndexIn(window, unit)); }

bool QuitMessageWaiting() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

BOOL CALLBACK CollectUnitWindow(HWND hwnd, LPARAM list) {
  if (UnitOfWindow(hwnd) != nullptr) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// The thread's top-level windows that belong to a unit.
std::vector<HWND> TopLevelUnitWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectUnitWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

class EngineTest : public ::testing::Test {
 protected:
  void TearDown() override { runtime_.reset(); }
  void Start(const std::vector<WindowDescription>& windows) { runtime_.emplace(windows); }

 private:
  std::optional<TestRuntime> runtime_;
};

// ---- Loading ----

// The loading form: A, H (hidden at run time), B, C and D (a child of A) in
// index order; B and H carry the disabled flag.
constexpr UnitId kA = 0x16010001, kH = 0x16010002, kB = 0x16010003, kC = 0x16010004, kD = 0x16010005;

std::vector<WindowDescription> LoadingForm() {
  return {WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, WindowBindings())},
                             {kA, ProbeUnit(kProbeType, 5)},
                             {kH, ProbeUnit(kHiddenType, 7)},
                             {kB, ProbeUnit(kProbeType, 7)},
                             {kC, ProbeUnit(kProbeType, 5)},
                             {kD, ProbeUnit(kProbeType, 5, kA)}})};
}

TEST_F(EngineTest, LoadingCreatesLastToFirstShowsUnitsFirstAndRaisesCreatedMovedResized) {
  Start(LoadingForm());
  LoadStartWindow(kWindow);

  // Events raised while loading (the probes' create and units-created
  // events) are dropped; the load-finished message comes after them.
  const std::vector<std::string> expected = {
      CreatedEntry(kD, 100, true, false),
      CreatedEntry(kC, 110, true, false),
      CreatedEntry(kB, 120, true, false),
      CreatedEntry(kH, 130, true, false),
      CreatedEntry(kA, 140, true, false),
      ShownEntry(kD, false),
      ShownEntry(kC, false),
      ShownEntry(kB, false),
      ShownEntry(kA, false),
      RanEntry(kOnCreated, kWindowUnit),
      RanEntry(kOnMoved, kWindowUnit),
      RanEntry(kOnResized, kWindowUnit),
      RanEntry(kOnLoadFinished, kD),
      RanEntry(kOnLoadFinished, kC),
      RanEntry(kOnLoadFinished, kB),
      RanEntry(kOnLoadFinished, kH),
      RanEntry(kOnLoadFinished, kA),
  };
  EXPECT_EQ(Journal(), expected);

  HWND window = WindowOfUnit(kWindow, 0);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetParent(WindowOfUnit(kWindow, kD)), WindowOfUnit(kWindow, kA));

  // Earlier units lie above later siblings.
  std::vector<UnitId> stacking;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    stacking.push_back(UnitOfWindow(child)->unit);
  EXPECT_EQ(stacking, (std::vector<UnitId>{kA, kH, kB, kC}));

  // A unit hidden at run time is neither shown nor disabled, whatever its flags.
  struct StyleCase {
    UnitId unit;
    DWORD style;
  };
  const StyleCase styles[] = {{kA, WS_VISIBLE | WS_TABSTOP},
                              {kH, WS_TABSTOP},
                              {kB, WS_VISIBLE | WS_DISABLED | WS_TABSTOP},
                              {kC, WS_VISIBLE | WS_TABSTOP},
                              {kD, WS_VISIBLE | WS_TABSTOP}};
  for (const StyleCase& c : styles)
    EXPECT_EQ(StyleOf(WindowOfUnit(kWindow, c.unit)) & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP), c.style)
        << std::hex << c.unit;

  // The bindings that loading dropped run once it is over.
  Journal().clear();
  SendMessageA(WindowOfUnit(kWindow, kC), kUnitsCreatedMessage, 0, 0);
  EXPECT_TRUE(FireEvent(kWindow, kB, kCreateEvent));
  EXPECT_EQ(Journal(), (std::vector<std::string>{RanEntry(kOnUnitsCreated, kC), RanEntry(kOnProbeCreate, kB)}));
}

TEST_F(EngineTest, LoadingALoadedWindowAgainRaisesNothing) {
  Start(LoadingForm());
  LoadStartWindow(kWindow);
  HWND window = WindowOfUnit(kWindow, 0);
  Journal().clear();
  EXPECT_TRUE(LoadWindow(TemplateOf(kWindow), nullptr));
  EXPECT_EQ(WindowOfUnit(kWindow, 0), window);
  EXPECT_TRUE(Journal().empty());
}

TEST_F(EngineTest, AFailedLoadOfASecondWindowLeavesNothingBehind) {
  constexpr UnitId kX = 0x16010011, kY = 0x16010012, kRefused = 0x16010013;
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, WindowBindings())}, {kA, ProbeUnit(kProbeType, 5)}}),
         WindowOf(kOtherWindow, {{kWindowUnit, UnitOf(kWindowType, 0, WindowBindings())},
                                 {kRefused, ProbeUnit(kRefusingType, 5)},
                                 {kX, ProbeUnit(kProbeType, 5)},
                                 {kY, ProbeUnit(kProbeType, 5)}})});
  LoadStartWindow(kWindow);
  const std::vector<std::uint8_t> before = TemplateOf(kOtherWindow).unitBuffer;
  HWND start = WindowOfUnit(kWindow, 0);
  Journal().clear();

  EXPECT_FALSE(LoadWindow(TemplateOf(kOtherWindow), nullptr));

  EXPECT_EQ(Journal(), (std::vector<std::string>{CreatedEntry(kY, 100, true, false), CreatedEntry(kX, 110, true, false),
                                                 DestroyedEntry(kX), DestroyedEntry(kY)}));
  EXPECT_EQ(TemplateOf(kOtherWindow).unitBuffer, before);
  EXPECT_EQ(WindowOfUnit(kOtherWindow, 0), nullptr);
  EXPECT_EQ(runtime::EventSuppression(), 0);
  EXPECT_EQ(TopLevelUnitWindows(), std::vector<HWND>{start});

  // The start window lives on, and events run again.
  Journal().clear();
  EXPECT_TRUE(FireEvent(kWindow, kA, kCreateEvent));
  EXPECT_EQ(Journal(), std::vector<std::string>{RanEntry(kOnProbeCreate, kA)});
  EXPECT_FALSE(QuitMessageWaiting());
}

// The first-show steps run once, at the first show after loading has
// finished; a window shown by its own created handler was shown plainly.
TEST_F(EngineTest, AWindowShownByItsCreatedHandlerGetsTheFirstShowStepsAtItsNextShowOnly) {
  constexpr int kOnGotFocus = 8;
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, {{0, RoutineOffset(kOnCreated)}})},
                            {kA, UnitOf(kProbeType, 5, {{-7, RoutineOffset(kOnGotFocus)}})}})});
  SetRoutineAction(kOnCreated, [](const std::int32_t*, std::uint32_t) {
    WriteUnitProperty(kWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
    return EventReply{};
  });
  LoadStartWindow(kWindow);
  Settle();
  HWND window = WindowOfUnit(kWindow, 0);
  ASSERT_TRUE(IsWindowVisible(window));
  ASSERT_EQ(GetFocus(), WindowOfUnit(kWindow, kA));
  EXPECT_EQ(Journal(), (std::vector<std::string>{CreatedEntry(kA, 100, true, false), ShownEntry(kA, false),
                                                 RanEntry(kOnCreated, kWindowUnit)}));

  // The first show after loading raises the focused unit's got-focus event;
  // later shows do not.
  struct Step {
    std::int32_t visible;
    std::vector<std::string> journal;
  };
  const Step steps[] = {{0, {}}, {1, {RanEntry(kOnGotFocus, kA)}}, {0, {}}, {1, {}}};
  for (const Step& s : steps) {
    Journal().clear();
    WriteUnitProperty(kWindow, kWindowUnit, kPropertyVisible, -1, s.visible, 0);
    Settle();
    EXPECT_EQ(IsWindowVisible(window) != FALSE, s.visible != 0);
    EXPECT_EQ(Journal(), s.journal) << "visible " << s.visible;
  }
}

// The close box, Alt+F4 and Esc all send WM_CLOSE; the close query's reply
// decides, and so does its answer to the end of the session.
TEST_F(EngineTest, TheCloseQueryKeepsTheWindowOnlyWhenItsHandlerSaysNo) {
  constexpr int kOnCloseQuery = 8;
  std::vector<EventBinding> bindings = WindowBindings();
  bindings.push_back({1, RoutineOffset(kOnCloseQuery)});
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, bindings)}, {kA, UnitOf(kProbeType, 5)}})});
  struct Case {
    const char* name;
    std::optional<EventReply> reply;  // none: no handler action at all
    bool destroysWindow;              // the handler destroys the window itself
    bool closes;
  };
  const Case cases[] = {
      {"no reply", std::nullopt, false, true},
      {"reply true", EventReply{true, 1}, false, true},
      {"reply false", EventReply{true, 0}, false, false},
      {"handler destroys the window", std::nullopt, true, true},
  };
  for (const Case& c : cases) {
    LoadStartWindow(kWindow);
    HWND window = WindowOfUnit(kWindow, 0);
    SetRoutineAction(kOnCloseQuery, [&c](const std::int32_t*, std::uint32_t) {
      if (c.destroysWindow) DestroyUnit(kWindowReference, true);
      return c.reply.value_or(EventReply{});
    });
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0) != FALSE, c.closes || c.destroysWindow) << c.name;
    if (c.destroysWindow) {
      EXPECT_FALSE(IsWindow(window)) << c.name;
      continue;
    }
    Journal().clear();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(IsWindow(window) == FALSE, c.closes) << c.name;
    std::vector<std::string> expected{RanEntry(kOnCloseQuery, kWindowUnit)};
    if (c.closes) expected.insert(expected.end(), {RanEntry(kOnDestroying, kWindowUnit), DestroyedEntry(kA)});
    EXPECT_EQ(Journal(), expected) << c.name;
    if (IsWindow(window)) DestroyUnit(kWindowReference, true);
  }
}

// ---- Events ----

TEST_F(EngineTest, ABindingWithoutHandlerRunsNothing) {
  constexpr int kOnBound = 8;
  Start({WindowOf(
      kWindow,
      {{kWindowUnit, UnitOf(kWindowType, 0, {{5, kNoHandler}})},
       {kA, UnitOf(kProbeType, 5, {{kCreateEvent, kNoHandler}, {kUnitsCreatedEvent, RoutineOffset(kOnBound)}})}})});
  struct Case {
    UnitId unit;
    std::int32_t event;
    bool runs;
  };
  const Case cases[] = {
      {0, 5, false},                    // bound to no handler
      {kA, kCreateEvent, false},        // likewise
      {kA, kLoadFinishedEvent, false},  // not bound at all
      {kA, kUnitsCreatedEvent, true},
  };
  for (const Case& c : cases) {
    Journal().clear();
    EventRecord record;
    record.window = kWindow;
    record.unit = c.unit;
    record.event = c.event;
    record.reply = -5;
    EXPECT_EQ(FireEvent(record), c.runs) << c.event;
    EXPECT_EQ(FindEventHandler(kWindow, c.unit, c.event) != nullptr, c.runs) << c.event;
    EXPECT_EQ(record.replyGiven, 0u);
    EXPECT_EQ(record.reply, -5);
    EXPECT_EQ(Journal().size(), c.runs ? 1u : 0u) << c.event;
  }
}

TEST_F(EngineTest, AHandlerGetsTheArgumentsAndItsReplyComesBack) {
  constexpr int kOnSum = 8;
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0, {{7, RoutineOffset(kOnSum)}})},
                            {kA, UnitOf(kProbeType, 5, {{-7, RoutineOffset(kOnSum)}})}})});
  std::vector<EventSource> sources;
  SetRoutineAction(kOnSum, [&sources](const std::int32_t* arguments, std::uint32_t count) {
    sources.push_back(CurrentEventSource());
    std::int32_t sum = 0;
    for (std::uint32_t i = 0; i < count; ++i) sum += arguments[i];
    return EventReply{true, sum};
  });
  for (UnitId unit : {UnitId{0}, kA}) {
    EventRecord record;
    record.window = kWindow;
    record.unit = unit;
    record.event = unit == 0 ? 7 : -7;
    record.argumentCount = 3;
    record.arguments[0] = 3;
    record.arguments[1] = 4;
    record.arguments[2] = 30;
    record.arguments[3] = 1000;  // beyond the count
    EXPECT_TRUE(FireEvent(record));
    EXPECT_EQ(record.replyGiven, 1u);
    EXPECT_EQ(record.reply, 37);
    // The window part of the source is cleared when the handler returns.
    EXPECT_EQ(CurrentEventSource().window, 0u);
  }
  ASSERT_EQ(sources.size(), 2u);
  EXPECT_EQ(sources[0].window, kWindow);
  EXPECT_EQ(sources[0].unit, kWindowUnit);
  EXPECT_EQ(sources[1].window, kWindow);
  EXPECT_EQ(sources[1].unit, kA);
}

// A unit may use another unit's bindings; chains that come back on
// themselves end at the last unit not yet visited, and a chain that leaves
// the type or the window ends where it is.
TEST_F(EngineTest, EventSourceChainsEndEvenWhenTheyComeBackOnThemselves) {
  constexpr UnitId kSelf = 0x16010021, kP = 0x16010022, kQ = 0x16010023, kR = 0x16010024, kOtherType = 0x16010025,
                   kToOtherType = 0x16010026, kToAbsent = 0x16010027;
  constexpr int kOnSelf = 8, kOnP = 9, kOnQ = 10, kOnR = 11, kOnOtherType = 12, kOnToOtherType = 13, kOnToAbsent = 14;
  const auto unit = [](TypeId type, int routine, UnitId source) {
    UnitRecordFields f = UnitOf(type, 5, {{kCreateEvent, RoutineOffset(routine)}});
    f.eventSourceUnit = source;
    return f;
  };
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0)},
                            {kSelf, unit(kProbeType, kOnSelf, kSelf)},
                            {kP, unit(kProbeType, kOnP, kQ)},
                            {kQ, unit(kProbeType, kOnQ, kP)},
                            {kR, unit(kProbeType, kOnR, kP)},
                            {kOtherType, unit(kHiddenType, kOnOtherType, 0)},
                            {kToOtherType, unit(kProbeType, kOnToOtherType, kOtherType)},
                            {kToAbsent, unit(kProbeType, kOnToAbsent, 0x16019999)}})});
  struct Case {
    UnitId fired;
    int routine;
  };
  const Case cases[] = {{kSelf, kOnSelf},        {kP, kOnQ}, {kQ, kOnP}, {kR, kOnQ}, {kToOtherType, kOnToOtherType},
                        {kToAbsent, kOnToAbsent}};
  for (const Case& c : cases) {
    Journal().clear();
    EXPECT_TRUE(FireEvent(kWindow, c.fired, kCreateEvent)) << std::hex << c.fired;
    EXPECT_EQ(Journal(), std::vector<std::string>{RanEntry(c.routine, c.fired)});
  }
}

// ---- Properties ----

TEST_F(EngineTest, PositionsAndSizesAreClampedInTheRecordAndOnScreen) {
  Start({WindowOf(kWindow, {{kWindowUnit, UnitOf(kWindowType, 0)}, {kA, UnitOf(kProbeType, 5)}}),
         WindowOf(kOtherWindow, {{kWindowUnit, UnitOf(kWindowType, 0)}, {kA, UnitOf(kProbeType, 5)}})});
  LoadStartWindow(kWindow);
  struct Case {
    int index;
    std::int32_t written;
    std::int32_t stored;
  };
  const Case cases[] = {
      {kPropertyLeft, 40000, 32627}, {kPropertyLeft, -40000, -32627},   {kPropertyLeft, 25, 25},
      {kPropertyTop, 32628, 32627},  {kPropertyTop, -32628, -32627},    {kPropertyTop, 32627, 32627},
      {kPropertyWidth, -1, 0},       {kPropertyWidth, 32628, 32627},    {kPropertyWidth, 44, 44},
      {kPropertyHeight, INT_MIN, 0}, {kPropertyHeight, INT_MAX, 32627}, {kPropertyHeight, 33, 33},
  };
  static constexpr units::Geometry kField[] = {units::Geometry::Left, units::Geometry::Top, units::Geometry::Width,
                                               units::Geometry::Height};
  // The loaded window's unit is moved on screen, the other's only in its record.
  for (UnitId window : {kWindow, kOtherWindow}) {
    for (const Case& c : cases) {
      WriteUnitProperty(window, kA, c.index, -1, c.written, 0);
      EXPECT_EQ(units::GeometryOf(TemplateOf(window), IndexIn(window, kA), kField[c.index]), c.stored)
          << std::hex << window << std::dec << " property " << c.index << " = " << c.written;
      EXPECT_EQ(ReadUnitProperty(window, kA, c.index, -1).low, c.stored)
          << std::hex << window << std::dec << " property " << c.index << " = " << c.written;
    }
  }
  const RECT r = RectInParent(WindowOfUnit(kWindow, kA));
  EXPECT_EQ(r.left, 25);
  EXPECT_EQ(r.top, 32627);
  EXPECT_EQ(r.right - r.left, 44);
  EXPECT_EQ(r.bottom - r.top, 33);
}

TEST_F(EngineTest, VisibleAndDisabledReachTheNativeWindowAndTheRecord) {
  Start({WindowOf(kWindow,
                  {{kWindowUnit, UnitOf(kWindowType, 0)}, {kA, UnitOf(kProbeType, 5)}, {kH, UnitOf(kHiddenType, 5)}})});
  LoadStartWindow(kWindow);
  struct Step {
    UnitId unit;
    int index;
    std::int32_t value;
    std::uint32_t flags;  // the record's UnitFlags afterwards
    DWORD style;          // the native window's bit to look at
    bool styleSet;
  };
  const Step steps[] = {
      {kA, kPropertyDisabled, 1, 7, WS_DISABLED, true},
      {kA, kPropertyDisabled, 0, 5, WS_DISABLED, false},
      {kA, kPropertyVisible, 0, 4, WS_VISIBLE, false},
      {kA, kPropertyVisible, 1, 5, WS_VISIBLE, true},
      {kH, kPropertyVisible, 0, 4, WS_VISIBLE, false},
      {kH, kPropertyVisible, 1, 5, WS_VISIBLE, false},  // hidden at run time: the record only
      {kWindowUnit, kPropertyVisible, 1, 1, WS_VISIBLE, true},
      {kWindowUnit, kPropertyDisabled, 1, 3, WS_DISABLED, true},
      {kWindowUnit, kPropertyDisabled, 0, 1, WS_DISABLED, false},
      {kWindowUnit, kPropertyVisible, 0, 0, WS_VISIBLE, false},
  };
  for (const Step& s : steps) {
    WriteUnitProperty(kWindow, s.unit, s.index, -1, s.value, 0);
    SCOPED_TRACE(testing::Message() << std::hex << s.unit << std::dec << " property " << s.index << " = " << s.value);
    EXPECT_EQ(FlagsOf(kWindow, s.unit), s.flags);
    EXPECT_EQ((StyleOf(WindowOfUnit(kWindow, s.unit)) & s.style) != 0, s.styleSet);
    if (s.index == kPropertyDisabled) {
      EXPECT_EQ(ReadUnitProperty(kWindow, s.unit, s.index, -1).low, s.value);
    }
  }
}

TEST_F(EngineTest, DestroyingTheWindowBringsThePristineTemplateBack) {
  Start(LoadingForm());
  const std::vector<std::uint8_t> pristine = TemplateOf(kWindow).unitBuffer;
  LoadStartWindow(kWindow);

  WriteUnitProperty(kWindow, kA, kPropertyLeft, -1, 77, 0);
  WriteUnitProperty(kWindow, kB, kPropertyDisabled, -1, 0, 0);
  WriteUnitProperty(kWindow, kC, kPropertyVisible, -1, 0, 0);
  PropertyValue tag;
  tag.text = "a tag that makes the record longer";
  WriteUnitProperty(kWindow, kA, kPropertyTag, -1, tag);
  PropertyValue pointer;
  pointer.bytes = {2, 0, 0, 0};  // the cross
  WriteUnitProperty(kWindow, kD, kPropertyMousePointer, -1, pointer);
  WriteUnitProperty(kWindow, kWindowUnit, kPropertyVisible, -1, 1, 0);
  // A type's own property goes through the type's operations.
  PropertyValue caption;
  caption.text = "renamed";
  WriteUnitProperty(kWindow, 0, kFirstTypeProperty, -1, caption);
  EXPECT_EQ(ReadUnitProperty(kWindow, 0, kFirstTypeProperty, -1).text, "renamed");
  EXPECT_EQ(installer_driver::TextOf(WindowOfUnit(kWindow, 0)), L"renamed");
  EXPECT_EQ(ReadUnitProperty(kWindow, kA, kPropertyTag, -1).text, tag.text);
  EXPECT_NE(units::CursorSlotOf(TemplateOf(kWindow), IndexIn(kWindow, kD)), 0u);
  EXPECT_NE(TemplateOf(kWindow).unitBuffer, pristine);

  Journal().clear();
  DestroyUnit(kWindowReference, true);
  EXPECT_THAT(Journal(), testing::UnorderedElementsAre(RanEntry(kOnDestroying, kWindowUnit), DestroyedEntry(kA),
                                                       DestroyedEntry(kD), DestroyedEntry(kH), DestroyedEntry(kB),
                                                       DestroyedEntry(kC)));
  EXPECT_EQ(TemplateOf(kWindow).unitBuffer, pristine);
  EXPECT_EQ(WindowOfUnit(kWindow, 0), nullptr);

  // And it loads again as the form describes it.
  LoadStartWindow(kWindow);
  EXPECT_EQ(ReadUnitProperty(kWindow, kA, kPropertyLeft, -1).low, 10);
  EXPECT_EQ(ReadUnitProperty(kWindow, kB, kPropertyDisabled, -1).low, 1);
  EXPECT_TRUE(StyleOf(WindowOfUnit(kWindow, kC)) & WS_VISIBLE);
  EXPECT_EQ(ReadUnitProperty(kWindow, kA, kPropertyTag, -1).text, "");
  EXPECT_FALSE(IsWindowVisible(WindowOfUnit(kWindow, 0)));
  EXPECT_FALSE(QuitMessageWaiting());
}

// ---- In a fresh process: the loop and fatal errors ----

struct ProbeRun {
  DWORD exitCode = 0;
  std::vector<std::string> lines;
};

ProbeRun RunProbe(const std::string& mode) {
  ProbeRun run;
  std::string commandLine = "\"" + testing_support::HostPath(ENGINE_PROBE_EXE) + "\" " + mode;
  testing_support::ProgramRun program = testing_support::RunProgram(commandLine);
  if (!program.started) ADD_FAILURE() << "engine_probe did not start: " << commandLine;
  run.exitCode = program.exitCode;
  const std::string& output = program.output;
  std::size_t start = 0;
  for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = output.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run.lines.push_back(line);
  }
  return run;
}

// A created handler that asks for its window's destruction: by the posted
// path the load runs to its end and the loop ends after the one message; by
// the immediate path the rest of the load is skipped and the loop, not yet
// started when the window went, returns at once with no quit message.
TEST(MessageLoopTest, ACreatedHandlerThatDestroysItsWindowEndsTheProgramEitherWay) {
  struct Case {
    const char* mode;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"posted-destroy",
       {RanEntry(kOnCreated, kWindowUnit), RanEntry(kOnMoved, kWindowUnit), RanEntry(kOnResized, kWindowUnit),
        "loaded, the window hidden", RetrievedEntry(kDeferredDestroyMessage, true),
        RanEntry(kOnDestroying, kWindowUnit), RetrievedEntry(WM_QUIT, false), kLoopReturnedEntry}},
      {"immediate-destroy",
       {RanEntry(kOnCreated, kWindowUnit), RanEntry(kOnDestroying, kWindowUnit), "loaded, the window gone",
        kLoopReturnedEntry}},
  };
  for (const Case& c : cases) {
    ProbeRun run = RunProbe(c.mode);
    EXPECT_EQ(run.exitCode, 0u) << c.mode;
    EXPECT_EQ(run.lines, c.lines) << c.mode;
  }
}

TEST(FatalErrorTest, EachFatalErrorShowsItsBoxAndEndsTheProcessWithMinusOne) {
  struct Case {
    const char* mode;
    std::string message;  // UTF-8
  };
  const Case cases[] = {
      {"unreadable-form", "载入窗口模板数据段出错!"},
      {"missing-start-window", "载入启动窗口失败"},
      {"failing-start-window", "载入启动窗口失败"},
      {"destroy-unloaded-window", "指定窗口或窗口组件不存在或尚未载入"},
      {"object-of-absent-unit", "指定窗口或窗口组件不存在或尚未载入"},
      {"write-unknown-window", "未载入欲访问窗口组件所在的窗口"},
      {"read-unknown-window", "未载入欲访问窗口组件所在的窗口"},
      {"type-property-unloaded", "指定窗口尚未载入"},
      {"event-unknown-window", "未找到引发事件的窗口"},
      {"event-absent-unit", "未找到引发事件的窗口组件"},
      {"event-mute-unit", "引发事件的窗口组件无效"},
      {"out-of-memory", "分配 " + std::to_string(kImpossibleAllocation) + " 字节内存失败!"},
  };
  for (const Case& c : cases) {
    ProbeRun run = RunProbe(c.mode);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu) << c.mode;
    // A box of no window; the exit clean-up is forgotten, and no handler may
    // run behind the box.
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "owner none",
                  "caption " + HexBytes(Gbk("错误")),
                  "flags " + std::to_string(MB_ICONHAND),
                  "text " + HexBytes(Gbk(("运行时出错!\r\n\r\n错误信息：" + c.message + "\r\n").c_str())),
                  "suppressed 1",
              }))
        << c.mode;
  }
}

TEST(FatalErrorTest, TheBoxTextNamesTheCodeOnlyWhenThereIsOne) {
  struct Case {
    const char* message;  // UTF-8
    int code;
    const char* text;  // UTF-8
  };
  const Case cases[] = {
      {"载入启动窗口失败", 0, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"载入启动窗口失败", 12, "运行时出错!\r\n\r\n错误代码：12\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"", -3, "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n"},
      {"", 0, "运行时出错!\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(runtime::RuntimeErrorText(Gbk(c.message), c.code), Gbk(c.text)) << c.code;
}

}  // namespace
