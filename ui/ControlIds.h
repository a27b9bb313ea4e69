#pragma once
// Identifiers of the backup window and its controls, shared with the tests that drive it.

inline constexpr wchar_t kBackupWindowClass[] = L"OmbrivoBetaWindow";
inline constexpr wchar_t kBackupWindowCaption[] = L"OmbrivoBeta";

enum ControlId : int {
  IDC_COMMAND1 = 1001,
  IDC_LABEL1,
  IDC_TEXT1,
  IDC_COMMAND2,
  IDC_COMMAND3,
  IDC_PROGRESSBAR1,
  IDC_LABEL2,
  IDC_LIST1,
  IDC_LABEL3,
  IDC_LABEL4,
};
