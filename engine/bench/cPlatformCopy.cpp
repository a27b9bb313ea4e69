#include "cPlatformCopy.h"

#include "cFileError.h"

#ifdef _WIN32
#include <windows.h>

// Named after the loader it runs under, so that every figure says which program ran.
const char* cPlatformCopy::Name() { return sizeof(void*) == 8 ? "wine64" : "wine32"; }
const char* cPlatformCopy::Tool() { return "CopyFileW"; }

void cPlatformCopy::Copy(const std::wstring& from, const std::wstring& to, bool flush) {
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) throw cFileError::FromLastError(L"CopyFileW", to);
  if (!flush) return;
  HANDLE h = CreateFileW(to.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw cFileError::FromLastError(L"CreateFileW", to);
  const BOOL flushed = FlushFileBuffers(h);
  CloseHandle(h);
  if (!flushed) throw cFileError::FromLastError(L"FlushFileBuffers", to);
}
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "mText.h"

extern char** environ;

const char* cPlatformCopy::Name() { return "native"; }
const char* cPlatformCopy::Tool() { return "cp"; }

void cPlatformCopy::Copy(const std::wstring& from, const std::wstring& to, bool flush) {
  const std::string source = mText::ToUtf8(from);
  const std::string target = mText::ToUtf8(to);
  char* argv[] = {const_cast<char*>("cp"), const_cast<char*>(source.c_str()),
                  const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv, environ) != 0)
    throw cFileError::FromLastError(L"posix_spawnp", L"cp");
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw cFileError(L"cp", to, 0, L"cp failed");
  if (!flush) return;
  const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) throw cFileError::FromLastError(L"open", to);
  const bool ok = fsync(fd) == 0;
  close(fd);
  if (!ok) throw cFileError::FromLastError(L"fsync", to);
}
#endif
