#include "../cFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "mPosixPath.h"
#include "mText.h"

// The folder is held open too, so that the lock file goes from it even once it has been moved.
struct cFolderLock::Held {
  Held(int heldFolder, int heldFile) : folder(heldFolder), file(heldFile) {}
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  int folder;
  int file;
  // Removed while still locked, so that whoever opens the name next makes a new file.
  ~Held() {
    unlinkat(folder, Name().c_str(), 0);
    close(file);
    close(folder);
  }
  static std::string Name() { return mText::ToUtf8(kFileName); }
};

std::optional<cFolderLock> cFolderLock::TryTake(const std::wstring& folder, Attempt& attempt) {
  attempt = Attempt::NoFolder;
  const int folderFile = open(mPosixPath::Native(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFile < 0) return std::nullopt;
  for (;;) {
    const int file = openat(folderFile, Held::Name().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) break;
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) attempt = Attempt::Busy;
      close(file);
      break;
    }
    // The holder before may have removed the name between our open and our lock: the file we
    // locked is then no longer the one others will open.
    struct stat locked {}, named {};
    if (fstat(file, &locked) == 0 && fstatat(folderFile, Held::Name().c_str(), &named, 0) == 0 &&
        locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
      attempt = Attempt::Taken;
      return cFolderLock(std::make_unique<Held>(folderFile, file));
    }
    close(file);
  }
  close(folderFile);
  return std::nullopt;
}

cFolderLock::cFolderLock(std::unique_ptr<Held> held) : m_Held(std::move(held)) {}
cFolderLock::cFolderLock(cFolderLock&& other) noexcept = default;
cFolderLock& cFolderLock::operator=(cFolderLock&& other) noexcept = default;
cFolderLock::~cFolderLock() = default;
