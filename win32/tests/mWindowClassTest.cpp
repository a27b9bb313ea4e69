#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mWindowClass.h"

namespace {

constexpr wchar_t kClassName[] = L"OmbWindowClassTest";
constexpr UINT kProbe = WM_APP + 7;

// An object that owns a message-only window of the test class and records what reaches it.
class cRecordingWindow {
 public:
  cRecordingWindow() {
    mWindowClass::Register(GetModuleHandleW(nullptr), kClassName, Procedure, {});
    CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                    GetModuleHandleW(nullptr), this);
  }
  ~cRecordingWindow() {
    if (m_hWnd) DestroyWindow(m_hWnd);
  }
  cRecordingWindow(const cRecordingWindow&) = delete;
  cRecordingWindow& operator=(const cRecordingWindow&) = delete;

  HWND m_hWnd = nullptr;
  HWND m_WindowAtCreate = nullptr;  // what m_hWnd held when WM_NCCREATE was handled
  std::vector<UINT> m_Messages;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return mWindowClass::Route(window, message, wParam, lParam, &cRecordingWindow::m_hWnd,
                               [window](cRecordingWindow& self, UINT m, WPARAM w, LPARAM l) {
                                 self.m_Messages.push_back(m);
                                 if (m == WM_NCCREATE) self.m_WindowAtCreate = self.m_hWnd;
                                 return m == kProbe ? LRESULT{42} : DefWindowProcW(window, m, w, l);
                               });
  }
};

TEST(mWindowClass, RoutesFromNcCreateToNcDestroy) {
  cRecordingWindow object;
  const HWND window = object.m_hWnd;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(object.m_WindowAtCreate, window);
  EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 42);

  DestroyWindow(window);
  ASSERT_FALSE(object.m_Messages.empty());
  EXPECT_EQ(object.m_Messages.front(), UINT{WM_NCCREATE});
  EXPECT_EQ(object.m_Messages.back(), UINT{WM_NCDESTROY});
  EXPECT_EQ(object.m_hWnd, nullptr);  // so the object's destructor destroys nothing twice
}

TEST(mWindowClass, EachWindowReachesItsOwnObject) {
  cRecordingWindow first;
  cRecordingWindow second;  // the class is registered already: the second registration passes
  const auto probes = [](const cRecordingWindow& object) {
    int count = 0;
    for (const UINT m : object.m_Messages) count += m == kProbe;
    return count;
  };
  SendMessageW(second.m_hWnd, kProbe, 0, 0);
  EXPECT_EQ(probes(first), 0);
  EXPECT_EQ(probes(second), 1);
}

}  // namespace
