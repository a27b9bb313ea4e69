#include "mLeanCopy.h"

#include <windows.h>

#include <cstddef>
#include <vector>

#include "cFile.h"
#include "cFileError.h"
#include "mFileSys.h"

namespace mLeanCopy {

void Copy(const std::wstring& from, const std::wstring& to) {
  if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND)
    throw cFileError(L"GetFileAttributesW", to, GetLastError(), L"the destination exists or cannot be reached");
  const std::int64_t length = mFileSys::FileLength(from);
  cFile source = cFile::OpenForReading(from);
  static unsigned counter = 0;
  const std::wstring temporary = to.substr(0, to.rfind(L'\\') + 1) + L"~lean" + std::to_wstring(counter++) + L".tmp";
  cFile target = cFile::CreateNew(temporary);
  std::vector<std::byte> buffer(static_cast<std::size_t>(length));
  if (source.Read(buffer) != buffer.size()) throw cFileError(L"ReadFile", from, 0, L"the source ended early");
  target.Write(buffer);
  target.SetLastWriteTime(source.LastWriteTime());
  source.Close();
  target.Flush();
  target.Close();
  mFileSys::ReplaceWith(temporary, to);
}

}  // namespace mLeanCopy
