#include "cListHost.h"

#include <stdexcept>

#include "BackupLayout.h"
#include "cPlatformError.h"
#include "mMessagePump.h"
#include "mTestWindowTools.h"
#include "mUnits.h"

namespace {

constexpr wchar_t kHostClass[] = L"OmbrivoBenchListHost";

const BackupLayout::ControlSpec& List1Layout() {
  for (const auto& layout : BackupLayout::kControls)
    if (layout.id == IDC_LIST1) return layout;
  throw std::logic_error("the layout has no List1");
}

}  // namespace

cListHost::cListHost() {
  const int dpiX = mUnits::LogicalPixelsPerInchX();
  const int dpiY = mUnits::LogicalPixelsPerInchY();

  mTestWindowTools::RegisterHostClass(kHostClass, COLOR_BTNFACE);
  m_hWnd = CreateWindowExW(0, kHostClass, L"ZListBox", WS_POPUP | WS_VISIBLE, 0, 0,
                           mUnits::TwipsToPixels(BackupLayout::kClientWidth, dpiX),
                           mUnits::TwipsToPixels(BackupLayout::kClientHeight, dpiY), nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) throw cPlatformError::FromLastError(L"host the list", kHostClass, L"CreateWindowExW");
  try {
    // The backup window's font: 9 point SimSun.
    m_Font = cGdiObject<HFONT>(CreateFontW(-MulDiv(90, dpiY, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                           GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
    if (!m_Font) throw cPlatformError::FromLastError(L"host the list", L"宋体", L"CreateFontW");
    const auto& layout = List1Layout();
    m_List.Create(m_hWnd, IDC_LIST1, mUnits::TwipsToPixels(layout.left, dpiX), mUnits::TwipsToPixels(layout.top, dpiY),
                  mUnits::TwipsToPixels(layout.width, dpiX), mUnits::TwipsToPixels(layout.height, dpiY),
                  m_Font.Get());
  } catch (...) {
    DestroyWindow(m_hWnd);
    throw;
  }
  UpdateWindow(m_hWnd);
  mMessagePump::DispatchPending();
}

cListHost::~cListHost() {
  mMessagePump::DispatchPending();
  DestroyWindow(m_hWnd);
}
