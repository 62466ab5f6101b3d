// Message boxes as the platform receives them: through the seam, the exact
// text, caption and flags; with the real MessageBoxA, the box on screen, the
// program's window held up meanwhile, and the button that closed it.
#include "host/message_box.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

// 信息：, the caption of a box shown without one.
constexpr char kDefaultCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

struct Shown {
  std::string text;
  std::string caption;
  UINT flags = 0;
};
Shown shown;
int platformAnswer = IDOK;

int Record(const char* text, const char* caption, UINT flags) {
  shown = Shown{text, caption, flags};
  return platformAnswer;
}

class MessageBoxThroughSeam : public ::testing::Test {
 protected:
  void SetUp() override { platform_ = SetMessageBoxSeam({&Record}); }
  void TearDown() override { SetMessageBoxSeam(platform_); }
  MessageBoxSeam platform_{};
};

TEST_F(MessageBoxThroughSeam, HandsOverTextCaptionAndFlags) {
  struct Case {
    MessageValue message;
    UINT flags;
    const char* caption;
    Shown expected;
  } cases[] = {
      // 成功啦
      {MessageValue::FromText("\xB3\xC9\xB9\xA6\xC0\xB2"), MB_ICONINFORMATION, "Velmora",
       {"\xB3\xC9\xB9\xA6\xC0\xB2", "Velmora", 0x2040}},
      {MessageValue::FromText("x"), MB_ICONEXCLAMATION, "", {"x", "", 0x2030}},
      {MessageValue::FromInteger(-5), MB_ICONEXCLAMATION | MB_SYSTEMMODAL, nullptr, {"-5", kDefaultCaption, 0x1030}},
      {MessageValue::FromBoolean(1), 0, nullptr, {"\xD5\xE6", kDefaultCaption, 0x2000}},  // 真
  };
  for (const Case& c : cases) {
    ShowMessageBox(c.message, c.flags, c.caption);
    EXPECT_EQ(shown.text, c.expected.text);
    EXPECT_EQ(shown.caption, c.expected.caption);
    EXPECT_EQ(shown.flags, c.expected.flags) << c.expected.text;
  }
}

TEST_F(MessageBoxThroughSeam, AnswersWithTheButtonCountedFromZero) {
  for (int answer : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    platformAnswer = answer;
    EXPECT_EQ(static_cast<int>(ShowMessageBox(MessageValue::FromText("?"), MB_YESNOCANCEL)), answer - 1);
  }
  platformAnswer = 0;  // the platform could not show the box
  EXPECT_EQ(ShowMessageBox(MessageValue::FromText("?"), MB_YESNOCANCEL), MessageBoxResult::Ok);
}

// What a timer saw of the real box while it was open, before it closed it.
struct OpenBox {
  bool found = false;
  std::wstring caption;  // read wide, as the system and accessibility tools read it
  std::wstring text;
  bool ownerWindowEnabled = true;
  UINT closeWith = 0;  // a command for the box, or WM_CLOSE
};
OpenBox openBox;
HWND ownWindow = nullptr;

BOOL CALLBACK CloseBox(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  wchar_t text[256] = {};
  openBox.found = true;
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  openBox.caption = text;
  GetDlgItemTextW(window, 0xFFFF, text, static_cast<int>(std::size(text)));  // the box's message
  openBox.text = text;
  openBox.ownerWindowEnabled = IsWindowEnabled(ownWindow) != FALSE;
  if (openBox.closeWith == WM_CLOSE)
    PostMessageA(window, WM_CLOSE, 0, 0);
  else
    PostMessageA(window, WM_COMMAND, openBox.closeWith, 0);
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &CloseBox, 0); }

MessageBoxResult ShowAndClose(const MessageValue& message, UINT flags, const char* caption, UINT closeWith) {
  openBox = OpenBox{};
  openBox.closeWith = closeWith;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &LookForBox);
  const MessageBoxResult result = ShowMessageBox(message, flags, caption);
  KillTimer(nullptr, timer);
  return result;
}

class RealMessageBox : public ::testing::Test {
 protected:
  // One window for all: under Wine without a window manager, destroying a
  // top-level window waits two seconds for one, so it goes with the process.
  static void SetUpTestSuite() {
    ownWindow = CreateWindowExA(0, "STATIC", "own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
  }
  void SetUp() override { ASSERT_NE(ownWindow, nullptr); }
};

TEST_F(RealMessageBox, ShowsTextAndCaptionAndHoldsUpTheProgramsWindows) {
  // 安装成功 with the default caption.
  EXPECT_EQ(ShowAndClose(MessageValue::FromText("\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6"), MB_ICONINFORMATION, nullptr, IDOK),
            MessageBoxResult::Ok);
  ASSERT_TRUE(openBox.found);
  EXPECT_EQ(openBox.text, L"安装成功");
  EXPECT_EQ(openBox.caption, L"信息：");
  EXPECT_FALSE(openBox.ownerWindowEnabled);  // task-modal without an owner
  EXPECT_TRUE(IsWindowEnabled(ownWindow));
}

TEST_F(RealMessageBox, AnswersWithTheButtonThatClosedIt) {
  EXPECT_EQ(ShowAndClose(MessageValue::FromInteger(-5), MB_YESNO | MB_DEFBUTTON2, "?", IDNO), MessageBoxResult::No);
  EXPECT_EQ(openBox.text, L"-5");
  // A box with only an OK button closed with its close box.
  EXPECT_EQ(ShowAndClose(MessageValue::FromText("?"), MB_ICONEXCLAMATION, "?", WM_CLOSE), MessageBoxResult::Ok);
  EXPECT_TRUE(openBox.found);
}

}  // namespace
