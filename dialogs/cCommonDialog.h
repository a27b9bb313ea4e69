#pragma once
// The one object through which the program shows the platform's open-file and save-file dialogs
// and the shell's folder browser (Unicode entry points). The caller sets the properties, calls
// ShowOpen or ShowSave, and after a true result reads FileName and FileNames.
//
// Owner: every dialog is owned by the calling thread's active window (GetActiveWindow). With no
//   active window the call throws cDialogError before anything is shown, and nothing changes.
// Cancel: ShowOpen and ShowSave return false and BrowseForFolder the empty text; no exception,
//   no message, nothing changes.
// Failure: any other failure of the platform throws cDialogError (dialogs/cDialogError.h) with
//   the operation, the platform call and its code (CommDlgExtendedError) and text;
//   for example a selection too long for MaxFile gives FNERR_BUFFERTOOSMALL (0x3003). The shell's
//   browser reports a failure exactly as a cancel (no item list), so it gives the empty text.
// COM: BrowseForFolder initialises COM itself for the length of the call (an apartment-threaded
//   cComInit guard, balanced on return); the caller need not do anything. Calling it on a thread
//   that joined the multi-threaded apartment throws cPlatformError (RPC_E_CHANGED_MODE).
// Threads: the user-interface thread only; every call blocks in a modal dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DialogPlatform.h"

class cCommonDialog {
 public:
  cCommonDialog();
  // For tests: platform calls that record what they are handed before passing it on.
  explicit cCommonDialog(DialogPlatform platform);

  // Shows the folder browser with `prompt` above the tree. Returns the confirmed folder's (or
  // file's) path as the platform wrote it, or the empty text when the user cancelled.
  std::wstring BrowseForFolder(const std::wstring& prompt);
  // Shows the open-file dialog with an empty name box. True when the user confirmed a selection.
  bool ShowOpen();
  // Shows the save-file dialog with FileName in its name box. True when the user confirmed.
  bool ShowSave();

  // The flags of the next ShowOpen or ShowSave; 0 (the initial value) means 0x1004 for open and
  // 0x6 for save. A non-zero value is used exactly as given.
  std::int32_t Flags() const;
  void Flags(std::int32_t vData);
  // Pairs of display text and pattern separated by "|"; kept and returned with NULs for bars.
  std::wstring Filter() const;
  void Filter(const std::wstring& vData);
  // After ShowOpen: the picked file's full path, or the folder (ending in a backslash) of several
  // picked files. After ShowSave: the confirmed name. ShowSave also offers it as the initial name.
  std::wstring FileName() const;
  void FileName(const std::wstring& vData);
  // The file buffer's size in characters; reads 260 while the stored value is 0 or less.
  std::int32_t MaxFile() const;
  void MaxFile(std::int32_t vData);
  // The dialog's caption; unset gives the platform's own.
  std::wstring Title() const;
  void Title(const std::wstring& vData);
  // The full path of every file of the last confirmed ShowOpen, in the dialog's order. This is
  // the object's own list, the same one on every call.
  const std::vector<std::wstring>& FileNames() const;
  // The extension the platform appends to a typed name without one; unset gives none.
  std::wstring DefaultExt() const;
  void DefaultExt(const std::wstring& vData);
  // The filter pair the dialog starts with, counted from 1; never updated from the dialog.
  std::int32_t FilterIndex() const;
  void FilterIndex(std::int32_t vData);
  // The folder the dialog starts in; unset gives the platform's choice.
  std::wstring InitDir() const;
  void InitDir(const std::wstring& vData);

 private:
  struct FileDialogCall;
  // Shows one file dialog over `file`; true when confirmed, false when cancelled.
  bool RunFileDialog(const FileDialogCall& call, std::vector<wchar_t>& file,
                     std::int32_t flags) const;

  DialogPlatform m_Platform;
  std::int32_t m_Flags = 0;
  // Unset texts reach the platform as null pointers; Filter is kept in its converted form.
  std::optional<std::wstring> m_Filter;
  std::int32_t m_FilterIndex = 0;
  std::int32_t m_MaxFile = 0;
  std::optional<std::wstring> m_FileName;
  std::vector<std::wstring> m_FileNames;
  std::optional<std::wstring> m_Title;
  std::optional<std::wstring> m_DefaultExt;
  std::optional<std::wstring> m_InitDir;
};
