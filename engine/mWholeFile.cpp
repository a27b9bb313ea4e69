#include "mWholeFile.h"

#include <cstddef>
#include <span>

#include "cFile.h"
#include "cFileError.h"
#include "mFileSys.h"

namespace mWholeFile {

std::string Read(const std::wstring& path) {
  cFile file = cFile::OpenForReading(path);
  std::string bytes;
  std::byte buffer[65536];
  for (;;) {
    const std::size_t got = file.Read(buffer);
    bytes.append(reinterpret_cast<const char*>(buffer), got);
    if (got < sizeof buffer) return bytes;
  }
}

void Write(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = mFileSys::TemporaryNameBeside(path);
  try {
    {
      cFile file = cFile::CreateNew(temporary);
      file.Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
      file.Flush();
      file.Close();
    }
    mFileSys::ReplaceWith(temporary, path);
  } catch (const cFileError&) {
    // The write's own failure is the one reported; the temporary file goes if it can, and is
    // otherwise removed as a leftover by the next write into that folder.
    try {
      mFileSys::RemoveFile(temporary);
    } catch (const cFileError&) {
    }
    throw;
  }
}

}  // namespace mWholeFile
