#pragma once
// The records handed to the platform: the open/save record in its short form, which ends with
// lpTemplateName (76 bytes on 32-bit Windows, 136 on 64-bit), and the browse record, built
// afresh with every field zero but the ones set.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mDialogRecord {

// OPENFILENAME_SIZE_VERSION_400W: the record up to and including lpTemplateName.
constexpr DWORD kFileRecordSize = static_cast<DWORD>(offsetof(OPENFILENAMEW, lpTemplateName) +
                                                     sizeof(OPENFILENAMEW::lpTemplateName));

struct FileTexts {
  const wchar_t* Filter;      // NUL-separated pairs ending in a double NUL, or null
  const wchar_t* InitialDir;  // or null
  const wchar_t* Title;       // or null
  const wchar_t* DefaultExt;  // or null
};

// nMaxFile is the file buffer's length, so the two can never disagree.
OPENFILENAMEW FileRecord(HWND owner, std::vector<wchar_t>& file, std::int32_t flags,
                         std::int32_t filterIndex, const FileTexts& texts);

BROWSEINFOW BrowseRecord(HWND owner, const wchar_t* prompt);

}  // namespace mDialogRecord
