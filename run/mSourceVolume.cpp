#include "mSourceVolume.h"

namespace mSourceVolume {

std::wstring Name(const Volume& volume) {
  if (!volume.label.empty()) return volume.label;
  std::wstring root = volume.root;
  if (root.size() > 1 && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
  return root;
}

std::wstring AbsentReason(const Volume& volume) { return L"U 盘「" + Name(volume) + L"」未插入"; }

std::wstring AmbiguousReason(const Volume& volume, const std::vector<std::wstring>& roots) {
  std::wstring listed;
  for (const std::wstring& root : roots) listed += (listed.empty() ? L"" : L"、") + root;
  return L"有多个磁盘（" + listed + L"）与 U 盘「" + Name(volume) + L"」的序列号相同，无法确定要备份哪一个";
}

}  // namespace mSourceVolume
