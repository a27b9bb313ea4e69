#include "../cFolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "../cFileError.h"
#include "mPosixPath.h"

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;

bool IsDots(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

}  // namespace

cFolderListing::cFolderListing(const std::wstring& folder)
    : m_Folder(folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L'/'),
      m_Handle(::opendir(mPosixPath::Native(m_Folder.empty() ? L"." : m_Folder).c_str())) {
  if (!m_Handle) throw cFileError::FromLastError(L"opendir", m_Folder);
}

cFolderListing::~cFolderListing() {
  if (m_Handle) ::closedir(static_cast<DIR*>(m_Handle));
}

// A symbolic link is listed as the system lists one: a reparse point with the link's tag, and a
// folder when it leads to one.
std::optional<cFolderListing::Item> cFolderListing::Next() {
  DIR* directory = static_cast<DIR*>(m_Handle);
  if (!directory) return std::nullopt;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(directory);
    if (!entry) {
      if (errno != 0) throw cFileError::FromLastError(L"readdir", m_Folder);
      ::closedir(static_cast<DIR*>(std::exchange(m_Handle, nullptr)));
      return std::nullopt;
    }
    if (IsDots(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(directory), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // gone since it was listed
      throw cFileError::FromLastError(L"fstatat", m_Folder + mText::FromUtf8(entry->d_name));
    }
    Item item;
    item.name = mText::FromUtf8(entry->d_name);
    if (S_ISLNK(st.st_mode)) {
      struct stat target {};
      item.attributes = kReparsePoint;
      item.reparseTag = kSymbolicLinkTag;
      if (::fstatat(::dirfd(directory), entry->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode)) item.attributes |= kDirectory;
    } else if (S_ISDIR(st.st_mode)) {
      item.attributes = kDirectory;
    }
    if (!(st.st_mode & S_IWUSR)) item.attributes |= kReadOnly;
    item.bytes = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    item.written = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * kTicksPerSecond +
                   static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100;
    return item;
  }
}
