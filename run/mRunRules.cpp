#include "mRunRules.h"

#include <cstdio>
#include <cwctype>

namespace mRunRules {
namespace {

constexpr std::int64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return text;
}

std::wstring Scaled(std::int64_t bytes, std::int64_t unit, const wchar_t* format) {
  wchar_t text[32] = {};
  std::swprintf(text, 32, format, static_cast<double>(bytes) / static_cast<double>(unit));
  return text;
}

}  // namespace

bool LooksDamaged(const std::vector<EntryTally>& entries) {
  int replaced = 0;
  bool mostOfOne = false;
  for (const EntryTally& entry : entries) {
    replaced += entry.replaced;
    mostOfOne = mostOfOne || entry.replaced * 2 > entry.backups;
  }
  return replaced >= kManyReplacements && mostOfOne;
}

std::int64_t SpaceFor(std::int64_t bytes, std::int64_t clusterBytes) {
  if (clusterBytes <= 1) return bytes;
  return (bytes + clusterBytes - 1) / clusterBytes * clusterBytes;
}

bool TooLargeFor(const std::wstring& fileSystem, std::int64_t bytes) {
  const std::wstring upper = Upper(fileSystem);
  const bool fat = upper == L"FAT" || upper == L"FAT12" || upper == L"FAT16" || upper == L"FAT32";
  return fat && bytes >= 4 * kGiB;
}

std::wstring TooLargeReason(const std::wstring& fileSystem) {
  return L"目标磁盘是 " + fileSystem + L" 格式，不能存放 4 GB 或更大的文件。没有写入任何内容。";
}

std::wstring SizeText(std::int64_t bytes) {
  if (bytes < kKiB) return std::to_wstring(bytes) + L" 字节";
  if (bytes < kMiB) return Scaled(bytes, kKiB, L"%.1f KB");
  if (bytes < kGiB) return Scaled(bytes, kMiB, L"%.1f MB");
  return Scaled(bytes, kGiB, L"%.2f GB");
}

}  // namespace mRunRules
