#include "mShellDrop.h"

#include "mDropList.h"
#include "mFileHlp.h"
#include "mFileSys.h"

namespace mShellDrop {
namespace {

class cLockedBlock {
 public:
  explicit cLockedBlock(HGLOBAL memory)
      : m_Memory(memory), m_Size(GlobalSize(memory)), m_Data(m_Size ? GlobalLock(memory) : nullptr) {}
  ~cLockedBlock() {
    if (m_Data) GlobalUnlock(m_Memory);
  }
  cLockedBlock(const cLockedBlock&) = delete;
  cLockedBlock& operator=(const cLockedBlock&) = delete;

  std::span<const std::byte> Bytes() const {
    return m_Data ? std::span<const std::byte>(static_cast<const std::byte*>(m_Data), m_Size)
                  : std::span<const std::byte>();
  }

 private:
  HGLOBAL m_Memory;
  SIZE_T m_Size;
  void* m_Data;
};

std::vector<std::wstring> AskTheShell(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace

std::vector<std::wstring> Paths(HDROP drop) {
  {
    const cLockedBlock block(reinterpret_cast<HGLOBAL>(drop));
    // A drop not in global memory (handed over by another process) only the shell can read.
    const auto names = block.Bytes().empty() ? std::nullopt : mDropList::WideNames(block.Bytes());
    if (names) {
      std::vector<std::wstring> paths;
      paths.reserve(names->size());
      for (const auto& name : *names) paths.emplace_back(name.begin(), name.end());
      return paths;
    }
  }
  return AskTheShell(drop);
}

std::vector<std::wstring> Entries(HDROP drop) { return AsEntries(Paths(drop)); }

std::vector<std::wstring> AsEntries(std::vector<std::wstring> paths) {
  for (std::wstring& path : paths)
    if (mFileSys::FolderAnswers(path)) path = mFileHlp::AddBackslash(path);
  return paths;
}

}  // namespace mShellDrop
