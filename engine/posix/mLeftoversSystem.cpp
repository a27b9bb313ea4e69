// Removing leftover temporary files with the POSIX file and process calls.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "../mLeftovers.h"
#include "mText.h"
#include "mPosixPath.h"

namespace mLeftovers {
namespace {

bool IsRunning(std::uint32_t process) {
  const auto id = static_cast<pid_t>(process);
  if (id <= 0) return true;  // not a process of its own: never taken for ended
  // Refused permission means a process of someone else's runs under that id.
  return ::kill(id, 0) == 0 || errno == EPERM;
}

}  // namespace

bool RemoveIfOrphaned(const std::wstring& folder, const std::wstring& name) {
  const auto owner = OwnerOf(name);
  if (!owner || IsRunning(*owner)) return false;
  std::string path = mPosixPath::Native(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += mText::ToUtf8(name);
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0;
}

}  // namespace mLeftovers
