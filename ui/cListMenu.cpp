#include "cListMenu.h"

#include <windowsx.h>

#include "cPopupMenu.h"

namespace {

constexpr wchar_t kRemoveText[] = L"移除";
constexpr wchar_t kClearText[] = L"清空列表";

}  // namespace

cListMenu::cListMenu(cJobList& job, cBackupControls& view) : m_Job(job), m_View(view) {}

LRESULT cListMenu::OnKey(WPARAM wParam, bool running) {
  constexpr LRESULT kDefaultAction = -1, kHandled = -2;
  if (LOWORD(wParam) != VK_DELETE) return kDefaultAction;
  const std::int16_t selected = m_View.List1.ListIndex();
  if (!running && selected >= 0) m_Job.Remove(static_cast<std::size_t>(selected));
  return kHandled;
}

bool cListMenu::OnContextMenu(HWND owner, HWND target, LPARAM at, bool running) {
  HWND list = m_View.List1.ListHwnd();
  if (target != list && target != m_View.List1.hwnd()) return false;
  // During a run there is nothing to offer, and a menu's own loop would hold the run up.
  if (running) return true;
  const UINT chosen = Track(owner, MenuPoint(at));
  const std::int16_t selected = m_View.List1.ListIndex();
  if (chosen == kRemove && selected >= 0) m_Job.Remove(static_cast<std::size_t>(selected));
  if (chosen == kClear) m_Job.Clear();
  return true;
}

// A right click selects the entry under the mouse first, as in the shell's lists; from the
// keyboard (Shift+F10, the menu key) the menu opens at the selected entry.
POINT cListMenu::MenuPoint(LPARAM at) const {
  HWND list = m_View.List1.ListHwnd();
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard
    RECT item{};
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item)) == LB_ERR)
      GetClientRect(list, &item);
    point = {item.left + 8, item.bottom};
    ClientToScreen(list, &point);
    return point;
  }
  POINT client = point;
  ScreenToClient(list, &client);
  const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) == 0) SendMessageW(list, LB_SETCURSEL, LOWORD(hit), 0);
  return point;
}

UINT cListMenu::Track(HWND owner, POINT at) const {
  const cPopupMenu menu(L"show the list's menu");
  const bool selected = m_View.List1.ListIndex() >= 0, empty = m_View.List1.ListCount() == 0;
  AppendMenuW(menu.Get(), MF_STRING | (!selected ? MF_GRAYED : 0u), kRemove, kRemoveText);
  AppendMenuW(menu.Get(), MF_STRING | (empty ? MF_GRAYED : 0u), kClear, kClearText);
  return static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
}
