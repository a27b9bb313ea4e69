#include "ProgressBar.h"

#include <commctrl.h>

#include "cPlatformError.h"

namespace {

constexpr wchar_t kClassName[] = L"OmbrivoProgressBar";
constexpr int kBarId = 1;
constexpr std::int32_t kVertical = 1;

SIZE ClientSize(HWND window, const wchar_t* operation) {
  RECT client{};
  if (!GetClientRect(window, &client))
    throw cPlatformError::FromLastError(operation, L"client size", L"GetClientRect");
  return SIZE{client.right - client.left, client.bottom - client.top};
}

// Signed values travel in the unsigned wParam as their two's complement.
WPARAM SignedParam(std::int32_t value) { return static_cast<WPARAM>(value); }

}  // namespace

ProgressBar::~ProgressBar() { DestroyControlWindow(); }

void ProgressBar::Create(HWND parent, int id, int x, int y, int width, int height) {
  CreateControlWindow(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), parent, id, x, y,
                      width, height, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
  try {
    UserControl_Initialize();
  } catch (...) {
    DestroyControlWindow();
    throw;
  }
}

void ProgressBar::Value(std::int32_t vData) {
  if (!m_hProgress) return;
  m_Value = vData;
  SendMessageW(m_hProgress, PBM_SETPOS, SignedParam(m_Value), 0);
}

void ProgressBar::Max(std::int32_t vData) {
  if (!m_hProgress) return;
  m_Max = vData;
  SendMessageW(m_hProgress, PBM_SETRANGE32, SignedParam(m_Min), m_Max);
}

void ProgressBar::Min(std::int32_t vData) {
  if (!m_hProgress) return;
  m_Min = vData;
  SendMessageW(m_hProgress, PBM_SETRANGE32, SignedParam(m_Min), m_Max);
}

void ProgressBar::Orientation(std::int32_t vData) {
  m_Orientation = vData;
  CreateBar();
}

void ProgressBar::Smooth(bool vData) {
  m_Smooth = vData;
  CreateBar();
}

void ProgressBar::Marquee(bool vData) {
  m_Marquee = vData;
  CreateBar();
}

void ProgressBar::Velocity(std::int32_t vData) {
  m_Velocity = vData;
  if (m_Marquee) SendMarquee();
}

LRESULT ProgressBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      UserControl_Resize();
      return 0;
    case WM_DESTROY:
      UserControl_Terminate();
      break;
    case WM_NCDESTROY:
      m_hProgress = nullptr;
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

void ProgressBar::UserControl_Initialize() {
  m_Max = 100;
  CreateBar();
}

void ProgressBar::UserControl_Resize() {
  if (!m_hProgress) return;
  const SIZE size = ClientSize(hwnd(), L"resize progress bar");
  MoveWindow(m_hProgress, 0, 0, size.cx, size.cy, TRUE);
}

void ProgressBar::UserControl_Terminate() {
  if (m_hProgress) DestroyWindow(m_hProgress);
  m_hProgress = nullptr;
}

void ProgressBar::CreateBar() {
  if (m_hProgress) {
    DestroyWindow(m_hProgress);
    m_hProgress = nullptr;
  }
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (m_Orientation == kVertical) style |= PBS_VERTICAL;
  if (m_Smooth) style |= PBS_SMOOTH;
  if (m_Marquee) style |= PBS_MARQUEE;
  const SIZE size = ClientSize(hwnd(), L"create progress bar");

  // A failed creation leaves the control without a bar; the setters then do nothing, and the
  // next Orientation, Smooth or Marquee tries again.
  m_hProgress = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, style, 0, 0, size.cx, size.cy,
                                hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBarId)),
                                GetModuleHandleW(nullptr), nullptr);
  Max(m_Max);
  Value(m_Value);
  if (m_Marquee) SendMarquee();
}

void ProgressBar::SendMarquee() const {
  if (m_hProgress) SendMessageW(m_hProgress, PBM_SETMARQUEE, TRUE, m_Velocity);
}
