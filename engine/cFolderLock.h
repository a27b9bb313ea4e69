#pragma once
// One writer per folder: a lock file at the folder's top, held open with no sharing for as long
// as the object lives. Another holder anywhere (a second window, a scheduled run, another machine
// writing to the same share) finds it busy; a holder that is killed lets go with its handle, and
// the file goes with it. One implementation per platform.
#include <memory>
#include <optional>
#include <string>

class cFolderLock {
 public:
  // The lock file's name in the folder it guards.
  static constexpr wchar_t kFileName[] = L"_备份中.lock";

  enum class Attempt { Taken, Busy, NoFolder };
  // Tries once. NoFolder when the folder cannot hold the file for any other reason than another
  // holder (not there, read-only, an invalid name): there is nothing to guard, and whatever is
  // written there fails on its own, with its own reason.
  static std::optional<cFolderLock> TryTake(const std::wstring& folder, Attempt& attempt);

  cFolderLock(cFolderLock&& other) noexcept;
  cFolderLock& operator=(cFolderLock&& other) noexcept;
  cFolderLock(const cFolderLock&) = delete;
  cFolderLock& operator=(const cFolderLock&) = delete;
  ~cFolderLock();

 private:
  struct Held;
  explicit cFolderLock(std::unique_ptr<Held> held);
  std::unique_ptr<Held> m_Held;
};
