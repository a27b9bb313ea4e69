#include "ZListBox.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "cPlatformError.h"
#include "cSelectedFont.h"

namespace {

constexpr wchar_t kClassName[] = L"OmbrivoZListBox";
constexpr int kListId = 1;
// Room after the widest text, so that its last character does not touch the edge.
constexpr std::int32_t kExtentMargin = 4;
constexpr std::int32_t kMaxCount = std::numeric_limits<std::int16_t>::max();
// One line, "&" taken as a mnemonic prefix, measured and not drawn.
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_SINGLELINE;

const wchar_t* MessageName(UINT message) {
  switch (message) {
    case LB_ADDSTRING: return L"LB_ADDSTRING";
    case LB_INSERTSTRING: return L"LB_INSERTSTRING";
    case LB_DELETESTRING: return L"LB_DELETESTRING";
    case LB_GETTEXT: return L"LB_GETTEXT";
    case LB_GETTEXTLEN: return L"LB_GETTEXTLEN";
    case LB_GETCOUNT: return L"LB_GETCOUNT";
    default: return L"SendMessageW";
  }
}

std::wstring IndexSubject(std::int16_t piIndex) { return L"index " + std::to_wstring(piIndex); }

// A negative index reaches the list box as the same negative int.
WPARAM IndexParam(std::int16_t piIndex) {
  return static_cast<WPARAM>(static_cast<INT_PTR>(piIndex));
}

LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

ZListBox::~ZListBox() { DestroyControlWindow(); }

void ZListBox::Create(HWND parent, int id, int x, int y, int width, int height, HFONT font,
                      ZListBoxEvents* listener) {
  CreateControlWindow(kClassName, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), parent, id, x, y,
                      width, height, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT);
  try {
    RECT client{};
    GetClientRect(hwnd(), &client);
    CreateListBox(client.right, client.bottom, font);
  } catch (...) {
    DestroyControlWindow();
    throw;
  }
  m_Listener = listener;
  Initialize();
}

void ZListBox::CreateListBox(int width, int height, HFONT font) {
  // Single selection, unsorted, plain text, notifying, both scroll bars, integral height; keys
  // are offered to the owner first (WM_VKEYTOITEM), so that it can give Delete a meaning.
  constexpr DWORD style =
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT;
  pListBox = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, style, 0, 0, width, height,
                             hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                             GetModuleHandleW(nullptr), nullptr);
  if (!pListBox)
    throw cPlatformError::FromLastError(L"create list box", L"LISTBOX", L"CreateWindowExW");
  if (font) SendMessageW(pListBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ZListBox::Initialize() {
  m_hWnd = pListBox;
  m_hFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  m_lMaxWidth = 0;
  m_Widths.Clear();
}

void ZListBox::AddItem(const std::wstring& psItemText, bool pbScrollBottom) {
  RequireCreated();
  // Measured before the entry goes in, so that a failure leaves the list as it was.
  const std::int32_t width = GetTextWidth(psItemText);
  const LRESULT index =
      Checked(LB_ADDSTRING, 0, TextParam(psItemText), L"AddItem", L"new entry");
  if (index >= kMaxCount) {
    Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    throw cPlatformError(L"AddItem", L"entry " + std::to_wstring(index + 1), L"LB_ADDSTRING", 0,
                         L"more entries than a 16-bit count holds");
  }
  KeepWidth(index, width);
  m_Widths.Add(width);
  FitExtent();
  if (pbScrollBottom) Send(WM_VSCROLL, SB_BOTTOM, 0);
}

void ZListBox::Clear() {
  RequireCreated();
  Send(LB_RESETCONTENT, 0, 0);
  m_Widths.Clear();
  m_lMaxWidth = 0;
  SetHorizontalExtent(0);
}

std::int16_t ZListBox::ListCount() const {
  RequireCreated();
  const LRESULT count = Checked(LB_GETCOUNT, 0, 0, L"ListCount", L"entries");
  if (count > kMaxCount)
    throw cPlatformError(L"ListCount", std::to_wstring(count) + L" entries", L"LB_GETCOUNT", 0,
                         L"more entries than a 16-bit count holds");
  return static_cast<std::int16_t>(count);
}

std::int16_t ZListBox::ListIndex() const {
  RequireCreated();
  // LB_ERR (-1) is the answer "no entry selected", not a failure.
  const LRESULT index = Send(LB_GETCURSEL, 0, 0);
  if (index > kMaxCount)
    throw cPlatformError(L"ListIndex", L"index " + std::to_wstring(index), L"LB_GETCURSEL", 0,
                         L"beyond the 16-bit index range");
  return index < 0 ? std::int16_t{-1} : static_cast<std::int16_t>(index);
}

std::wstring ZListBox::List(std::int16_t piIndex) const { return ReadText(piIndex, L"List"); }

std::wstring ZListBox::ReadText(std::int16_t piIndex, const wchar_t* operation) const {
  RequireCreated();
  const std::wstring subject = IndexSubject(piIndex);
  const LRESULT length = Checked(LB_GETTEXTLEN, IndexParam(piIndex), 0, operation, subject);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = Checked(LB_GETTEXT, IndexParam(piIndex),
                                 reinterpret_cast<LPARAM>(text.data()), operation, subject);
  text.resize(static_cast<std::size_t>(std::min(copied, length)));
  return text;
}

void ZListBox::List(std::int16_t piIndex, const std::wstring& psItemText) {
  // Everything that can fail before the entry changes is done first.
  const std::wstring oldText = ReadText(piIndex, L"List set");
  const std::optional<std::int32_t> oldWidth = KeptWidth(piIndex);
  const std::int32_t newWidth = GetTextWidth(psItemText);
  const LRESULT selected = Send(LB_GETCURSEL, 0, 0);
  const LRESULT top = Send(LB_GETTOPINDEX, 0, 0);

  // The native list box has no "set text": delete and insert at the same index.
  const std::wstring subject = IndexSubject(piIndex);
  Checked(LB_DELETESTRING, IndexParam(piIndex), 0, L"List set", subject);
  try {
    Checked(LB_INSERTSTRING, IndexParam(piIndex), TextParam(psItemText), L"List set", subject);
  } catch (...) {
    const LRESULT restored = Send(LB_INSERTSTRING, IndexParam(piIndex), TextParam(oldText));
    if (restored >= 0 && oldWidth) KeepWidth(piIndex, *oldWidth);
    throw;
  }
  KeepWidth(piIndex, newWidth);
  // Deleting may have scrolled the list and dropped the selection; the user keeps both.
  if (selected == piIndex) Send(LB_SETCURSEL, IndexParam(piIndex), 0);
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);

  m_Widths.Add(newWidth);
  if (oldWidth) m_Widths.Remove(*oldWidth);
  FitExtent();
}

bool ZListBox::Enabled() const {
  RequireCreated();
  return IsWindowEnabled(m_hWnd) != FALSE;
}

void ZListBox::Enabled(bool State) {
  RequireCreated();
  EnableWindow(m_hWnd, State ? TRUE : FALSE);
}

void ZListBox::RemoveItem(std::int16_t piIndex) {
  ReadText(piIndex, L"RemoveItem");  // a refused index fails before anything changes
  const std::optional<std::int32_t> width = KeptWidth(piIndex);
  const LRESULT remaining =
      Checked(LB_DELETESTRING, IndexParam(piIndex), 0, L"RemoveItem", IndexSubject(piIndex));
  if (width) m_Widths.Remove(*width);
  if (remaining == 0) {
    m_Widths.Clear();
    m_lMaxWidth = 0;
    SetHorizontalExtent(0);
  } else if (m_Widths.Empty()) {
    Refresh_();  // only entries added behind the control's back are left: measured now
  } else {
    FitExtent();
  }
}

void ZListBox::Refresh_() {
  RequireCreated();
  {
    // One font selection for the whole pass.
    const HDC dc = MeasuringDc(L"Refresh_");
    const cSelectedFont font(dc, m_hFont, L"Refresh_");
    const std::int16_t count = ListCount();
    m_Widths.Clear();
    for (std::int16_t i = 0; i < count; i = static_cast<std::int16_t>(i + 1)) {
      const std::int32_t width = MeasureIn(dc, ReadText(i, L"Refresh_"), L"Refresh_");
      KeepWidth(i, width);
      m_Widths.Add(width);
    }
  }
  m_lMaxWidth = m_Widths.Widest();
  UpdateHorizontalExtent();
}

void ZListBox::ReadProperties(const cLayoutProperties& PropBag) {
  Enabled(PropBag.ReadProperty(L"Enabled", true));
}

void ZListBox::WriteProperties(cLayoutProperties& PropBag) const {
  PropBag.WriteProperty(L"Enabled", Enabled(), true);
}

LRESULT ZListBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      UserControl_Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_COMMAND:
      if (pListBox && reinterpret_cast<HWND>(lParam) == pListBox) {
        if (HIWORD(wParam) == LBN_SELCHANGE) pListBox_Click();
        if (HIWORD(wParam) == LBN_DBLCLK) pListBox_DblClick();
        return 0;
      }
      break;
    case WM_VKEYTOITEM:  // the control's owner is pListBox's owner
      if (pListBox && reinterpret_cast<HWND>(lParam) == pListBox)
        return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
      break;
    case WM_SETFOCUS:  // the list is the control's only tab stop
      if (pListBox) SetFocus(pListBox);
      return 0;
    case WM_NCDESTROY:  // pListBox went with the control's window
      pListBox = nullptr;
      m_hWnd = nullptr;
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

void ZListBox::UserControl_Resize(int width, int height) {
  if (pListBox) MoveWindow(pListBox, 0, 0, width, height, TRUE);
}

void ZListBox::pListBox_Click() {
  if (ListIndex() > -1 && m_Listener) m_Listener->Click();
}

void ZListBox::pListBox_DblClick() {
  if (ListIndex() > -1 && m_Listener) m_Listener->DblClick();
}

void ZListBox::UpdateHorizontalExtent() {
  // Entries are plain text: no check box in front adds to the width.
  if (m_lMaxWidth > std::numeric_limits<std::int32_t>::max() - kExtentMargin)
    throw std::overflow_error("horizontal extent out of range");
  SetHorizontalExtent(m_lMaxWidth + kExtentMargin);
}

void ZListBox::SetHorizontalExtent(std::int32_t extent) {
  Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

// Each entry keeps its measured width as its item data, one more than the width, so that an entry
// added behind the control's back (item data 0) is measured when it is needed. Measuring is the
// costly part of marking an entry: only the new text is measured.
void ZListBox::KeepWidth(LRESULT index, std::int32_t width) {
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(width) + 1);
}

std::optional<std::int32_t> ZListBox::KeptWidth(std::int16_t piIndex) const {
  const LRESULT kept = Send(LB_GETITEMDATA, IndexParam(piIndex), 0);
  if (kept <= 0) return std::nullopt;
  return static_cast<std::int32_t>(kept - 1);
}

void ZListBox::FitExtent() {
  const std::int32_t widest = m_Widths.Widest();
  if (widest == m_lMaxWidth) return;
  m_lMaxWidth = widest;
  UpdateHorizontalExtent();
}

std::int32_t ZListBox::GetTextWidth(const std::wstring& text) const {
  RequireCreated();
  const HDC dc = MeasuringDc(L"GetTextWidth");
  const cSelectedFont font(dc, m_hFont, L"GetTextWidth");
  return MeasureIn(dc, text, L"GetTextWidth");
}

// A memory device context measures as the list box's own would: both take the font selected.
HDC ZListBox::MeasuringDc(const wchar_t* operation) const {
  if (!m_MeasuringDc) m_MeasuringDc.emplace(operation);
  return m_MeasuringDc->Get();
}

std::int32_t ZListBox::MeasureIn(HDC dc, const std::wstring& text,
                                 const wchar_t* operation) const {
  RECT rect{0, 0, 0, 0};
  SetLastError(0);
  const int height = DrawTextW(dc, text.c_str(), -1, &rect, kMeasureFlags);
  if (height == 0 && !text.empty())
    throw cPlatformError::FromLastError(operation, text, L"DrawTextW",
                                        L"the text cannot be measured");
  const std::int64_t width = std::int64_t{rect.right} - rect.left;
  if (width > std::numeric_limits<std::int32_t>::max())
    throw std::overflow_error("text width out of range");
  return static_cast<std::int32_t>(width);
}

LRESULT ZListBox::Checked(UINT message, WPARAM wParam, LPARAM lParam, const wchar_t* operation,
                          const std::wstring& subject) const {
  SetLastError(0);
  const LRESULT result = Send(message, wParam, lParam);
  if (result == LB_ERR || result == LB_ERRSPACE)
    throw cPlatformError::FromLastError(
        operation, subject, MessageName(message),
        result == LB_ERRSPACE ? L"the list box is out of memory" : L"the list box refused");
  return result;
}

LRESULT ZListBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(m_hWnd, message, wParam, lParam);
}

void ZListBox::RequireCreated() const {
  if (!m_hWnd) throw std::logic_error("ZListBox used without its list box");
}
