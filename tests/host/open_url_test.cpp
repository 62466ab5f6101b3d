// What OpenWebAddress hands to the shell, seen through its seam, and one real
// hand-over that starts a probe program instead of a browser.
#include "host/open_url.h"

#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <ole2.h>

#include "support/scratch.h"

namespace {

using testing_support::Exists;
using testing_support::ScratchDirectory;

struct ShellCall {
  int count = 0;
  HWND owner = nullptr;
  std::string verb, file;
  bool hasParameters = false, hasDirectory = false;
  INT show = 0;
};

class OpenWebAddressTest : public testing::Test {
 protected:
  void SetUp() override {
    calls = ShellCall{};
    previous_ = SetShellExecuteSeam({Record});
  }
  void TearDown() override { SetShellExecuteSeam(previous_); }

  static HINSTANCE Record(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    calls = {calls.count + 1, owner, verb, file, parameters != nullptr, directory != nullptr, show};
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // what the shell answers on success
  }

  static inline ShellCall calls;

 private:
  ShellExecuteSeam previous_{};
};

TEST_F(OpenWebAddressTest, HandsAGivenAddressOverUnchanged) {
  for (std::string address : {std::string("http://tieba.example.com/f?kw=%E6%B1%89&fr=index&fp=0&ie=utf-8"),
                              std::string(""), std::string("\xBA\xBA\xBB\xAF")}) {
    calls = ShellCall{};
    OpenWebAddress(address);
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.owner, nullptr);
    EXPECT_EQ(calls.verb, "open");
    EXPECT_EQ(calls.file, address);
    EXPECT_FALSE(calls.hasParameters);
    EXPECT_FALSE(calls.hasDirectory);
    EXPECT_EQ(calls.show, SW_SHOWNORMAL);
  }
}

TEST_F(OpenWebAddressTest, AnOmittedAddressIsABareHostName) {
  OpenWebAddress(std::nullopt);
  ASSERT_EQ(calls.count, 1);
  EXPECT_NE(calls.file, "");
  EXPECT_EQ(calls.file.find_first_of(":/"), std::string::npos) << calls.file;
  EXPECT_NE(calls.file.find('.'), std::string::npos) << calls.file;
}

// A hidden top-level window with a caption of the test's choosing.
class TopLevelWindow {
 public:
  explicit TopLevelWindow(const char* caption)
      : window_(CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
  ~TopLevelWindow() {
    if (window_) DestroyWindow(window_);
  }
  TopLevelWindow(const TopLevelWindow&) = delete;
  TopLevelWindow& operator=(const TopLevelWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

TEST_F(OpenWebAddressTest, OwnerIsAWindowCalledExactlyMicrosoftInternetExplorer) {
  struct Case {
    const char* caption;
    bool owns;
  } cases[] = {
      {"Microsoft Internet Explorer", true},
      {"microsoft internet explorer", true},  // the platform compares captions without case
      {"Forum - Microsoft Internet Explorer", false},
      {"Microsoft Edge", false},
  };
  for (const Case& c : cases) {
    TopLevelWindow window(c.caption);
    ASSERT_NE(window.get(), nullptr);
    OpenWebAddress(std::string("tieba.example.com"));
    EXPECT_EQ(calls.owner, c.owns ? window.get() : nullptr) << c.caption;
  }
}

// The real shell: "open" on a program starts it. The probe leaves a marker
// where its environment says and ends, so nothing keeps running.
TEST(OpenWebAddressShell, StartsWhatItIsGiven) {
  ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr));
  ScratchDirectory dir;
  const std::string marker = dir / "opened";
  ASSERT_TRUE(SetEnvironmentVariableA("VELMORA_OPEN_URL_MARKER", marker.c_str()));
  OpenWebAddress(testing_support::HostPath(OPEN_URL_PROBE));
  for (int waited = 0; waited < 30000 && !Exists(marker); waited += 50) Sleep(50);
  EXPECT_TRUE(Exists(marker));
  SetEnvironmentVariableA("VELMORA_OPEN_URL_MARKER", nullptr);
  OleUninitialize();
}

}  // namespace
