#include "mDialogRecord.h"

#include <cstddef>

#include "mDialogInput.h"

namespace {

#ifndef _WIN64
// The 32-bit layouts the platform reads: offsets in bytes, handles and pointers 4 bytes wide.
// The record ends right after lpTemplateName (OPENFILENAME_SIZE_VERSION_400W).
static_assert(mDialogRecord::kFileRecordSize == 76);
static_assert(offsetof(OPENFILENAMEW, lStructSize) == 0x00);
static_assert(offsetof(OPENFILENAMEW, hwndOwner) == 0x04);
static_assert(offsetof(OPENFILENAMEW, hInstance) == 0x08);
static_assert(offsetof(OPENFILENAMEW, lpstrFilter) == 0x0C);
static_assert(offsetof(OPENFILENAMEW, lpstrCustomFilter) == 0x10);
static_assert(offsetof(OPENFILENAMEW, nMaxCustFilter) == 0x14);
static_assert(offsetof(OPENFILENAMEW, nFilterIndex) == 0x18);
static_assert(offsetof(OPENFILENAMEW, lpstrFile) == 0x1C);
static_assert(offsetof(OPENFILENAMEW, nMaxFile) == 0x20);
static_assert(offsetof(OPENFILENAMEW, lpstrFileTitle) == 0x24);
static_assert(offsetof(OPENFILENAMEW, nMaxFileTitle) == 0x28);
static_assert(offsetof(OPENFILENAMEW, lpstrInitialDir) == 0x2C);
static_assert(offsetof(OPENFILENAMEW, lpstrTitle) == 0x30);
static_assert(offsetof(OPENFILENAMEW, Flags) == 0x34);
static_assert(offsetof(OPENFILENAMEW, nFileOffset) == 0x38);
static_assert(offsetof(OPENFILENAMEW, nFileExtension) == 0x3A);
static_assert(offsetof(OPENFILENAMEW, lpstrDefExt) == 0x3C);
static_assert(offsetof(OPENFILENAMEW, lCustData) == 0x40);
static_assert(offsetof(OPENFILENAMEW, lpfnHook) == 0x44);
static_assert(offsetof(OPENFILENAMEW, lpTemplateName) == 0x48);

static_assert(sizeof(BROWSEINFOW) == 32);
static_assert(offsetof(BROWSEINFOW, hwndOwner) == 0x00);
static_assert(offsetof(BROWSEINFOW, pidlRoot) == 0x04);
static_assert(offsetof(BROWSEINFOW, pszDisplayName) == 0x08);
static_assert(offsetof(BROWSEINFOW, lpszTitle) == 0x0C);
static_assert(offsetof(BROWSEINFOW, ulFlags) == 0x10);
static_assert(offsetof(BROWSEINFOW, lpfn) == 0x14);
static_assert(offsetof(BROWSEINFOW, lParam) == 0x18);
static_assert(offsetof(BROWSEINFOW, iImage) == 0x1C);
#endif

static_assert(mDialogInput::kBrowsePathLength == MAX_PATH);
static_assert(mDialogInput::kBrowseFlags == (BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES));
static_assert(mDialogInput::kOpenDefaultFlags == (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
static_assert(mDialogInput::kSaveDefaultFlags == (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
static_assert(mDialogInput::kAllowMultiSelect == OFN_ALLOWMULTISELECT);
static_assert(mDialogInput::kExplorer == OFN_EXPLORER);

}  // namespace

namespace mDialogRecord {

OPENFILENAMEW FileRecord(HWND owner, std::vector<wchar_t>& file, std::int32_t flags,
                         std::int32_t filterIndex, const FileTexts& texts) {
  OPENFILENAMEW record{};
  record.lStructSize = kFileRecordSize;
  record.hwndOwner = owner;
  record.hInstance = GetModuleHandleW(nullptr);
  record.lpstrFilter = texts.Filter;
  record.nFilterIndex = static_cast<DWORD>(filterIndex);
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.size());
  record.lpstrInitialDir = texts.InitialDir;
  record.lpstrTitle = texts.Title;
  record.Flags = static_cast<DWORD>(flags);
  record.lpstrDefExt = texts.DefaultExt;
  return record;
}

BROWSEINFOW BrowseRecord(HWND owner, const wchar_t* prompt) {
  BROWSEINFOW record{};
  record.hwndOwner = owner;
  record.lpszTitle = prompt;
  record.ulFlags = mDialogInput::kBrowseFlags;
  return record;
}

}  // namespace mDialogRecord
