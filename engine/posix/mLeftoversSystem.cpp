// Finding and removing leftover temporary files with the POSIX directory and process calls.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "../mLeftovers.h"
#include "../mText.h"

namespace mLeftovers {
namespace {

bool IsRunning(std::uint32_t process) {
  const auto id = static_cast<pid_t>(process);
  if (id <= 0) return true;  // not a process of its own: never taken for ended
  // Refused permission means a process of someone else's runs under that id.
  return ::kill(id, 0) == 0 || errno == EPERM;
}

class cDirectory {
 public:
  explicit cDirectory(const std::string& path) : m_Dir(::opendir(path.c_str())) {}
  ~cDirectory() {
    if (m_Dir) ::closedir(m_Dir);
  }
  cDirectory(const cDirectory&) = delete;
  cDirectory& operator=(const cDirectory&) = delete;

  const dirent* Next() { return m_Dir ? ::readdir(m_Dir) : nullptr; }

 private:
  DIR* m_Dir;
};

}  // namespace

int RemoveIn(const std::wstring& folder) {
  std::string base = mText::ToUtf8(folder);
  cDirectory directory(base.empty() ? "." : base);
  int removed = 0;
  while (const dirent* entry = directory.Next())
    if (RemoveIfOrphaned(folder, mText::FromUtf8(entry->d_name))) ++removed;
  return removed;
}

bool RemoveIfOrphaned(const std::wstring& folder, const std::wstring& name) {
  const auto owner = OwnerOf(name);
  if (!owner || IsRunning(*owner)) return false;
  std::string path = mText::ToUtf8(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += mText::ToUtf8(name);
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0;
}

}  // namespace mLeftovers
