#pragma once
// What the file dialog and the folder browser are handed: the filter in the platform's form,
// the buffer sizes, the initial buffers and the flags. Free of platform headers so that the
// rules build and are tested everywhere.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mDialogInput {

// Flag values of the open/save record and of the browse record.
constexpr std::int32_t kOverwritePrompt = 0x2;                              // OFN_OVERWRITEPROMPT
constexpr std::int32_t kHideReadOnly = 0x4;                                 // OFN_HIDEREADONLY
constexpr std::int32_t kAllowMultiSelect = 0x200;                           // OFN_ALLOWMULTISELECT
constexpr std::int32_t kFileMustExist = 0x1000;                             // OFN_FILEMUSTEXIST
constexpr std::int32_t kExplorer = 0x80000;                                 // OFN_EXPLORER
constexpr std::int32_t kOpenDefaultFlags = kFileMustExist | kHideReadOnly;  // 0x1004
constexpr std::int32_t kSaveDefaultFlags = kOverwritePrompt | kHideReadOnly;  // 0x6
constexpr std::uint32_t kBrowseFlags = 0x4001;  // BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES

constexpr std::int32_t kDefaultMaxFile = 260;
constexpr std::size_t kBrowsePathLength = 260;  // MAX_PATH

// Every "|" becomes a NUL; nothing is appended and nothing else changes.
std::wstring ConvertFilter(std::wstring_view filter);

// The file buffer size in characters: 260 while the stored value is 0 or less.
std::int32_t EffectiveMaxFile(std::int32_t stored);

// A non-zero stored value replaces the operation's default entirely.
std::int32_t OpenFlags(std::int32_t stored);
std::int32_t SaveFlags(std::int32_t stored);
// Multi-selection parsing is chosen by the stored value, so Flags 0 never selects it.
bool ParsesAsMultiSelection(std::int32_t stored);

// The open dialog's file buffer: maxFile NULs, so its name box starts empty.
std::vector<wchar_t> OpenFileBuffer(std::int32_t maxFile);
// The save dialog's file buffer: the name first and NULs after it, maxFile characters long, or
// longer when the name does not fit: it always holds the name and its terminating NUL.
std::vector<wchar_t> SaveFileBuffer(std::wstring_view name, std::int32_t maxFile);

// A text field's copy for the platform: the text followed by two NULs, so that a filter ends in
// a double NUL whether or not the caller wrote a final bar.
std::vector<wchar_t> PlatformText(std::wstring_view text);

// The browser's path buffer: 260 blanks, so that an untouched buffer can be told apart.
std::vector<wchar_t> BrowsePathBuffer();

}  // namespace mDialogInput
