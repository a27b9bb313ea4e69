#include "mLeftovers.h"

#include <cwctype>

#include "cFileError.h"
#include "cFolderListing.h"

namespace mLeftovers {
namespace {

constexpr wchar_t kPrefix[] = L"~omb";
constexpr wchar_t kSuffix[] = L".tmp";

// Digits only, at least one, and a value that fits 32 bits.
std::optional<std::uint64_t> Number(const std::wstring& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return value;
}

}  // namespace

std::wstring TemporaryName(std::uint32_t process, unsigned n) {
  return kPrefix + std::to_wstring(process) + L"-" + std::to_wstring(n) + kSuffix;
}

std::optional<std::uint32_t> OwnerOf(const std::wstring& fileName) {
  const std::wstring prefix = kPrefix, suffix = kSuffix;
  if (fileName.size() <= prefix.size() + suffix.size() || fileName.compare(0, prefix.size(), prefix) != 0 ||
      fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::nullopt;
  const std::wstring middle = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
  const auto dash = middle.find(L'-');
  if (dash == std::wstring::npos) return std::nullopt;
  const auto process = Number(middle.substr(0, dash));
  if (!process || !Number(middle.substr(dash + 1))) return std::nullopt;
  return static_cast<std::uint32_t>(*process);
}

int RemoveIn(const std::wstring& folder) {
  int removed = 0;
  try {
    cFolderListing listing(folder);
    while (const auto item = listing.Next())
      if (!(item->attributes & cFolderListing::kDirectory) && RemoveIfOrphaned(folder, item->name)) ++removed;
  } catch (const cFileError&) {
    // A folder that cannot be read is reported by the copies into it.
  }
  return removed;
}

}  // namespace mLeftovers
