#include "cBackupControls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "cLayoutProperties.h"
#include "cMemoryDC.h"
#include "cPlatformError.h"
#include "cRedrawOff.h"
#include "cSelectedFont.h"
#include "cWindowDc.h"
#include "mUnits.h"
#include "mWindowClass.h"
#include "resource.h"

namespace {

constexpr wchar_t kStartText[] = L"开始";
constexpr wchar_t kStopText[] = L"停止";
constexpr COLORREF kCloseColour = RGB(0, 128, 128);
constexpr COLORREF kGroundColour = RGB(234, 234, 234);  // the skin's own, around its panel
// The header band above the white panel moves the window.
constexpr int kHeaderBottomTwips = 77 * 15;

[[noreturn]] void ThrowLastError(const wchar_t* call, const wchar_t* subject) {
  throw cPlatformError::FromLastError(L"backup window", subject, call);
}

cGdiObject<HFONT> MakeFont(int dpiY, int tenthsOfPoint, bool underline, const wchar_t* face) {
  const int height = -MulDiv(tenthsOfPoint, dpiY, 720);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, GB2312_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face);
  if (!font) ThrowLastError(L"CreateFontW", face);
  return cGdiObject<HFONT>(font);
}

}  // namespace

cBackupControls::cBackupControls()
    : m_DpiX(mUnits::LogicalPixelsPerInchX()), m_DpiY(mUnits::LogicalPixelsPerInchY()) {}

SIZE cBackupControls::WindowSize() const {
  return SIZE{mUnits::TwipsToPixels(BackupLayout::kClientWidth, m_DpiX),
              mUnits::TwipsToPixels(BackupLayout::kClientHeight, m_DpiY)};
}

HWND cBackupControls::CreateForm(HINSTANCE instance, WNDPROC procedure, void* owner, const wchar_t* className,
                                 const wchar_t* caption) {
  mWindowClass::Look look;
  look.icon = m_Icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  look.smallIcon = m_SmallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON,
                                                                GetSystemMetrics(SM_CXSMICON),
                                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  look.cursor = LoadCursorW(nullptr, IDC_ARROW);
  mWindowClass::Register(instance, className, procedure, look);
  const SIZE size = WindowSize();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // WS_POPUP with no border: no caption, frame or system menu; the skin is the whole window.
  HWND form = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, className, caption,
                              WS_POPUP | WS_CLIPSIBLINGS | WS_MINIMIZEBOX, work.left + (work.right - work.left - size.cx) / 2,
                              work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy, nullptr, nullptr,
                              instance, owner);
  if (!form) return nullptr;
  // The taskbar and the task switcher ask the window itself for its icons.
  SendMessageW(form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_Icon));
  SendMessageW(form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_SmallIcon));
  return form;
}

bool cBackupControls::AnswerLook(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      result = ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != Label4) return false;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    case WM_NCHITTEST: {
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(m_Form, &p);
      // Without a frame, dragging the header band is the way to move the window.
      result = InHeader(p) ? HTCAPTION : HTCLIENT;
      return true;
    }
  }
  return false;
}

void cBackupControls::Create(HWND form, HINSTANCE instance) {
  m_Form = form;
  m_hInstance = instance;
  m_DefaultFont = MakeFont(m_DpiY, 90, false, L"宋体");
  m_CloseFont = MakeFont(m_DpiY, 105, true, L"宋体");
  m_Skin = cGdiObject<HBITMAP>(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!m_Skin) ThrowLastError(L"LoadImageW", L"skin");
  // Created in tab order, so the focus moves through them in that order.
  for (const auto& layout : BackupLayout::kControls) CreateControl(layout);
}

RECT cBackupControls::PixelRect(int left, int top, int width, int height) const {
  const int x = mUnits::TwipsToPixels(left, m_DpiX);
  const int y = mUnits::TwipsToPixels(top, m_DpiY);
  return RECT{x, y, x + mUnits::TwipsToPixels(width, m_DpiX), y + mUnits::TwipsToPixels(height, m_DpiY)};
}

int cBackupControls::LabelWidth(const wchar_t* text) const {
  cWindowDc dc(m_Form, L"measure label");
  cSelectedFont font(dc.Get(), m_DefaultFont.Get(), L"measure label");
  SIZE size{};
  if (!GetTextExtentPoint32W(dc.Get(), text, lstrlenW(text), &size))
    ThrowLastError(L"GetTextExtentPoint32W", text);
  return size.cx;
}

bool cBackupControls::FitsIn(HWND label, const std::wstring& text) const {
  RECT r{};
  GetClientRect(label, &r);
  return LabelWidth(text.c_str()) <= r.right - r.left;
}

HWND cBackupControls::CreateChild(const wchar_t* className, const wchar_t* text, DWORD style,
                                  DWORD exStyle, int id, const RECT& pixels, HFONT font) {
  HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, pixels.left,
                               pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                               m_Form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_hInstance,
                               nullptr);
  if (!child) ThrowLastError(L"CreateWindowExW", className);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void cBackupControls::CreateControl(const BackupLayout::ControlSpec& layout) {
  using BackupLayout::Kind;
  RECT r = PixelRect(layout.left, layout.top, layout.width, layout.height);
  if (layout.autoSize) r.right = r.left + LabelWidth(layout.text);
  switch (layout.kind) {
    case Kind::Button:
      *NativeControl(layout.id) = CreateChild(WC_BUTTONW, layout.text, WS_TABSTOP | BS_PUSHBUTTON, 0,
                                              layout.id, r, m_DefaultFont.Get());
      return;
    case Kind::Label: {
      const bool close = layout.id == IDC_LABEL4;  // the label that acts as a button
      *NativeControl(layout.id) =
          CreateChild(WC_STATICW, layout.text, SS_LEFT | SS_NOPREFIX | (close ? SS_NOTIFY : 0), 0,
                      layout.id, r, close ? m_CloseFont.Get() : m_DefaultFont.Get());
      return;
    }
    case Kind::Edit:
      *NativeControl(layout.id) = CreateChild(WC_EDITW, layout.text, WS_TABSTOP | ES_AUTOHSCROLL,
                                              WS_EX_CLIENTEDGE, layout.id, r, m_DefaultFont.Get());
      return;
    case Kind::ProgressBar:
      ProgressBar1.Create(m_Form, layout.id, r.left, r.top, r.right - r.left, r.bottom - r.top);
      return;
    case Kind::ListBox:
      CreateList(layout.id, r);
      return;
  }
}

void cBackupControls::CreateList(int id, const RECT& r) {
  List1.Create(m_Form, id, r.left, r.top, r.right - r.left, r.bottom - r.top, m_DefaultFont.Get());
  // The window's saved layout holds no settings of the list's own: it starts enabled.
  List1.ReadProperties(cLayoutProperties{});
  // Lets the dialog navigation reach the list box inside the control.
  SetWindowLongPtrW(List1.hwnd(), GWL_EXSTYLE,
                    GetWindowLongPtrW(List1.hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

HWND* cBackupControls::NativeControl(int id) {
  switch (id) {
    case IDC_COMMAND1: return &Command1;
    case IDC_COMMAND2: return &Command2;
    case IDC_COMMAND3: return &Command3;
    case IDC_TEXT1: return &Text1;
    case IDC_LABEL1: return &Label1;
    case IDC_LABEL2: return &Label2;
    case IDC_LABEL3: return &Label3;
    case IDC_LABEL4: return &Label4;
  }
  throw std::logic_error("no native control with this id");
}

// The skin at its own size in the corner; above 96 dots per inch the window is larger than the
// picture, and the rest takes the skin's ground colour.
void cBackupControls::PaintBackground(HDC dc) {
  RECT client{};
  GetClientRect(m_Form, &client);
  if (m_SkinFailed) return PaintGround(dc, client, 0, 0);
  try {
    PaintSkin(dc, client);
  } catch (...) {
    m_SkinFailed = true;
    PaintGround(dc, client, 0, 0);
    throw;
  }
}

void cBackupControls::PaintSkin(HDC dc, const RECT& client) {
  BITMAP skin{};
  if (!GetObjectW(m_Skin.Get(), sizeof skin, &skin)) ThrowLastError(L"GetObjectW", L"skin");
  cMemoryDC source(dc, m_Skin.Get());
  if (!BitBlt(dc, 0, 0, skin.bmWidth, skin.bmHeight, source.Get(), 0, 0, SRCCOPY))
    ThrowLastError(L"BitBlt", L"skin");
  PaintGround(dc, client, skin.bmWidth, skin.bmHeight);
}

void cBackupControls::PaintGround(HDC dc, const RECT& client, int skinWidth, int skinHeight) const {
  const cGdiObject<HBRUSH> ground(CreateSolidBrush(kGroundColour));
  if (!ground) ThrowLastError(L"CreateSolidBrush", L"skin");
  const RECT right{skinWidth, 0, client.right, client.bottom};
  const RECT below{0, skinHeight, skinWidth, client.bottom};
  for (const RECT& band : {right, below})
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, ground.Get());
}

LRESULT cBackupControls::ColorStatic(HDC dc, HWND control) const {
  // Labels are transparent: the skin shows around and behind their text.
  SetBkMode(dc, TRANSPARENT);
  if (control == Label4) SetTextColor(dc, kCloseColour);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

bool cBackupControls::InHeader(POINT client) const {
  return client.y >= 0 && client.y < mUnits::TwipsToPixels(kHeaderBottomTwips, m_DpiY);
}

std::wstring cBackupControls::Text1Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Text1)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(Text1, text.data(), static_cast<int>(text.size()))));
  return text;
}

void cBackupControls::SetText1(const std::wstring& text) { SetWindowTextW(Text1, text.c_str()); }

void cBackupControls::SetLabelText(HWND label, const std::wstring& text) {
  SetWindowTextW(label, text.c_str());
  // A transparent label leaves its old text behind unless the skin under it is drawn again.
  RECT r{};
  GetWindowRect(label, &r);
  MapWindowPoints(nullptr, m_Form, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(m_Form, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void cBackupControls::ShowRunning(bool running) {
  SetWindowTextW(Command3, running ? kStopText : kStartText);
  if (running) SetFocus(Command3);  // Enter and Space stop the run too
  for (HWND control : {Command1, Command2, Text1}) EnableWindow(control, !running);
}

void cBackupControls::AddEntries(const cBackupList& list, std::size_t first) {
  // One repaint and one scroll to the end for the whole selection: scrolling after every entry
  // made a pick of thousands of files take minutes, and ends in the same place.
  cRedrawOff quiet(List1.ListHwnd());
  for (std::size_t i = first; i < list.Count(); ++i) List1.AddItem(list.Text(i), i + 1 == list.Count());
}

bool cBackupControls::KeepInView(int index) {
  HWND list = List1.ListHwnd();
  RECT client{};
  GetClientRect(list, &client);
  const auto itemHeight = std::max<LRESULT>(1, SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int rows = std::max(1, static_cast<int>(client.bottom / itemHeight));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  if (index >= top && index < top + rows) return false;
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, index - rows / 2)), 0);
  return true;
}
