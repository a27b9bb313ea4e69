#include "cFileSet.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "cFile.h"
#include "cTestDir.h"
#include "mText.h"

namespace {

Bytes ContentOf(int index, std::size_t bytes) { return Pattern(bytes, static_cast<std::uint32_t>(index) + 1); }

Bytes ReadAll(const std::wstring& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + mText::ToUtf8(path));
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Bytes bytes(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) bytes[i] = static_cast<std::byte>(raw[i]);
  return bytes;
}

}  // namespace

cFileSet::cFileSet(std::wstring folder, int count, std::size_t bytes)
    : m_Folder(std::move(folder)), m_Bytes(bytes) {
  for (int i = 0; i < count; ++i) {
    const std::wstring path = m_Folder.Child(NameOf(i));
    const Bytes content = ContentOf(i, bytes);
    // Flushed, so that writing them out later does not fall inside a timed pass.
    cFile out = cFile::CreateNew(path);
    out.Write(content);
    out.Flush();
    out.Close();
    m_Paths.push_back(path);
  }
}

void cFileSet::ExpectCopiedTo(const std::wstring& folder) const {
  for (int i = 0; i < static_cast<int>(m_Paths.size()); ++i) {
    const std::wstring copy = folder + L"\\" + NameOf(i);
    if (ReadAll(copy) != ContentOf(i, m_Bytes))
      throw std::runtime_error(mText::ToUtf8(copy) + " differs from its source");
  }
}

std::wstring cFileSet::NameOf(int index) {
  wchar_t name[32];
  std::swprintf(name, 32, L"file-%05d.bin", index + 1);
  return name;
}
