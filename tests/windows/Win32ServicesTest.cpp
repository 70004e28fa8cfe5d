#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/Win32Services.h"
#include "tests/windows/Win32TestFiles.h"

namespace timrose::win32 {
namespace {

TEST(Services, ProcessInfoNamesTheRunningExecutable) {
  Win32ProcessInfo process;
  const Text folder = process.AppPath();
  const Text name = process.AppExeName();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), u'\\');
  EXPECT_EQ(name, u"timrose_windows_tests");
  const DWORD attributes = GetFileAttributesW(Wide(folder + u"\\" + name + u".exe"));
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class TestWindow {
 public:
  TestWindow()
      : handle_(CreateWindowExW(0, L"STATIC", L"timrose test", WS_POPUP, 40, 50, 200, 100, nullptr, nullptr,
                                nullptr, nullptr)) {}
  ~TestWindow() {
    if (handle_) DestroyWindow(handle_);
  }
  HWND get() const { return handle_; }

 private:
  HWND handle_;
};

TEST(Services, SetWindowPosEntersAndLeavesTheTopmostBandInPlace) {
  TestWindow window;
  ASSERT_NE(window.get(), nullptr);
  Win32WindowSystem windows;
  const auto handle = reinterpret_cast<intptr_t>(window.get());
  RECT before;
  GetWindowRect(window.get(), &before);
  for (intptr_t insertAfter : {kHwndTopmost, kHwndNoTopmost, kHwndTopmost}) {
    SCOPED_TRACE(insertAfter);
    EXPECT_TRUE(windows.SetWindowPos(handle, insertAfter, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize));
    const bool topmost = (GetWindowLongW(window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    EXPECT_EQ(topmost, insertAfter == kHwndTopmost);
    RECT after;
    GetWindowRect(window.get(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
  }
}

// The box must belong to its owner window and hand back the button pressed. A helper thread
// answers it; the wait is bounded so a box that never shows fails instead of hanging.
TEST(Services, MessageBoxBelongsToItsOwnerAndReturnsTheAnswer) {
  TestWindow owner;
  ASSERT_NE(owner.get(), nullptr);
  Win32MessageBox box;
  box.SetOwner(owner.get());
  const Text title = u"提示 timrose test";
  std::atomic<HWND> foundOwner{nullptr};
  std::atomic<bool> found{false};
  std::thread answer([&] {
    for (int i = 0; i < 1000 && !found; ++i) {
      if (HWND dialog = FindWindowW(L"#32770", Wide(title))) {
        foundOwner = GetWindow(dialog, GW_OWNER);
        found = true;
        SendMessageW(GetDlgItem(dialog, IDNO), BM_CLICK, 0, 0);
        return;
      }
      Sleep(10);
    }
  });
  const int result = box.MsgBox(u"是否继续?", kMbYesNo + kMbExclamation, title);
  answer.join();
  ASSERT_TRUE(found);
  EXPECT_EQ(foundOwner.load(), owner.get());
  EXPECT_EQ(result, kAnswerNo);
}

}  // namespace
}  // namespace timrose::win32
