#pragma once
// Taking entries out of List1: the Delete key removes the selected entry, and the list's
// context menu offers "移除" (the entry under the mouse, or the selected one) and "清空列表".
// Neither acts during a run: the key is ignored and the menu does not open. An item that would
// do nothing (移除 with no entry selected, 清空列表 of an empty list) is grayed.
#include <windows.h>

#include "cBackupControls.h"
#include "cJobList.h"

class cListMenu {
 public:
  enum Command : UINT { kRemove = 1, kClear = 2 };

  cListMenu(cJobList& job, cBackupControls& view);

  // WM_VKEYTOITEM from List1; answers what the list box should do next.
  LRESULT OnKey(WPARAM wParam, bool running);
  // WM_CONTEXTMENU: answers false when it was not over List1 (the caller passes it on).
  bool OnContextMenu(HWND owner, HWND target, LPARAM at, bool running);

 private:
  POINT MenuPoint(LPARAM at) const;
  UINT Track(HWND owner, POINT at) const;

  cJobList& m_Job;
  cBackupControls& m_View;
};
