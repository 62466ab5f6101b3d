// What reaches the platform when the installer shows a message.
#include "host/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
  void SetUp() override { real_ = SetMessageBoxSeam({&Record}); }
  void TearDown() override { SetMessageBoxSeam(real_); }
  MessageBoxSeam real_{};
};

TEST_F(MessageBoxThroughSeam, HandsOverTextCaptionAndTaskModalFlags) {
  // 成功啦 / 错误 in code page 936.
  ShowMessageBox(MessageValue::FromText("done"), MB_ICONINFORMATION, "\xB3\xC9\xB9\xA6\xC0\xB2");
  EXPECT_EQ(shown.text, "done");
  EXPECT_EQ(shown.caption, "\xB3\xC9\xB9\xA6\xC0\xB2");
  EXPECT_EQ(shown.flags, 0x2040u);
  ShowMessageBox(MessageValue::FromInteger(MessageValue::Kind::Integer, -5), MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
  EXPECT_EQ(shown.text, "-5");
  EXPECT_EQ(shown.caption, "\xD0\xC5\xCF\xA2\xA3\xBA");  // 信息：
  EXPECT_EQ(shown.flags, 0x1030u);
}

TEST_F(MessageBoxThroughSeam, AnswersWithZeroBasedCodes) {
  for (int answer : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    platformAnswer = answer;
    EXPECT_EQ(ShowMessageBox(MessageValue::FromText("?"), MB_YESNOCANCEL), answer - 1);
  }
  platformAnswer = 0;  // the platform could not show the box
  EXPECT_EQ(ShowMessageBox(MessageValue::FromText("?")), 0);
}

}  // namespace
