#include "mDialogInput.h"

#include <algorithm>

namespace mDialogInput {

std::wstring ConvertFilter(std::wstring_view filter) {
  std::wstring out(filter);
  std::replace(out.begin(), out.end(), L'|', L'\0');
  return out;
}

std::int32_t EffectiveMaxFile(std::int32_t stored) {
  return stored <= 0 ? kDefaultMaxFile : stored;
}

std::int32_t OpenFlags(std::int32_t stored) { return stored != 0 ? stored : kOpenDefaultFlags; }

std::int32_t SaveFlags(std::int32_t stored) { return stored != 0 ? stored : kSaveDefaultFlags; }

bool ParsesAsMultiSelection(std::int32_t stored) { return (stored & kAllowMultiSelect) != 0; }

std::vector<wchar_t> OpenFileBuffer(std::int32_t maxFile) {
  return std::vector<wchar_t>(static_cast<std::size_t>(EffectiveMaxFile(maxFile)), L'\0');
}

std::vector<wchar_t> SaveFileBuffer(std::wstring_view name, std::int32_t maxFile) {
  const std::size_t length =
      std::max(static_cast<std::size_t>(EffectiveMaxFile(maxFile)), name.size() + 1);
  std::vector<wchar_t> buffer(length, L'\0');
  std::copy(name.begin(), name.end(), buffer.begin());
  return buffer;
}

std::vector<wchar_t> PlatformText(std::wstring_view text) {
  std::vector<wchar_t> copy(text.begin(), text.end());
  copy.insert(copy.end(), 2, L'\0');
  return copy;
}

std::vector<wchar_t> BrowsePathBuffer() { return std::vector<wchar_t>(kBrowsePathLength, L' '); }

}  // namespace mDialogInput
