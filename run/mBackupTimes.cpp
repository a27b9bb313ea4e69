#include "mBackupTimes.h"

#include <algorithm>
#include <cwctype>

namespace mBackupTimes {
namespace {

constexpr std::uint64_t kTicksPerMs = 10000;
constexpr std::uint64_t kHour = 3600 * 1000 * kTicksPerMs;

std::wstring Upper(std::wstring name) {
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return name;
}

bool IsFat(const std::wstring& upper) { return upper == L"FAT" || upper == L"FAT12" || upper == L"FAT16" || upper == L"FAT32"; }

std::uint64_t Resolution(const std::wstring& upper) {
  if (IsFat(upper)) return 2000 * kTicksPerMs;
  if (upper == L"EXFAT") return 10 * kTicksPerMs;
  return 1;
}

std::uint64_t Distance(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; }

}  // namespace

Comparison Between(const std::wstring& sourceFileSystem, const std::wstring& backupFileSystem) {
  const std::wstring source = Upper(sourceFileSystem), backup = Upper(backupFileSystem);
  return {std::max(Resolution(source), Resolution(backup)), IsFat(source) || IsFat(backup)};
}

bool Unchanged(const Stamp& source, const Stamp& backup, const Comparison& how) {
  if (source.bytes != backup.bytes) return false;
  const std::uint64_t apart = Distance(source.written, backup.written);
  return apart < how.window || (how.hourShift && Distance(apart, kHour) < how.window);
}

}  // namespace mBackupTimes
