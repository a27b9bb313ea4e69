#pragma once
// Reading back what the file dialog and the folder browser wrote into their buffers. The
// buffers are taken over their whole length, embedded NULs included.
#include <string>
#include <string_view>
#include <vector>

namespace mDialogResult {

struct Selection {
  // The picked file's full path, or for several files their folder ending in a backslash.
  std::wstring FileName;
  // The full path of every picked file, in the dialog's order.
  std::vector<std::wstring> FileNames;
};

// The text before the first NUL; the whole buffer when it holds no NUL at all.
std::wstring TextBeforeNul(std::wstring_view buffer);

// An open dialog's buffer. With multiSelection, a NUL-separated "folder, name, name, ..." list is
// split into full paths (a backslash is put between folder and name unless the folder already
// ends in one, as a drive root does); a single piece is read as one name. An empty name is no
// file and adds no entry.
Selection ParseOpenResult(std::wstring_view buffer, bool multiSelection);

// A save dialog's buffer: one name, never split.
std::wstring ParseSaveResult(std::wstring_view buffer);

// The folder browser's path buffer, taken as the platform wrote it: no backslash is added or
// removed, and a buffer the platform left without any NUL is returned whole.
std::wstring ParseBrowseResult(std::wstring_view buffer);

}  // namespace mDialogResult
