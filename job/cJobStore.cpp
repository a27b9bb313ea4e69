#include "cJobStore.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "cFileError.h"
#include "cFolderListing.h"
#include "mFileSys.h"
#include "mLeftovers.h"
#include "mSystemError.h"
#include "mWholeFile.h"

namespace {

constexpr int kReadAttempts = 5;
constexpr std::chrono::milliseconds kReadPause{200};

std::wstring FolderOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? L"" : path.substr(0, cut);
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// n of "<job name>.<n>.bad"; nothing for any other name.
std::optional<unsigned> SetAsideNumber(const std::wstring& name, const std::wstring& job) {
  constexpr std::wstring_view kEnd = L".bad";
  if (name.size() <= job.size() + 1 + kEnd.size() || name.compare(0, job.size(), job) != 0 || name[job.size()] != L'.' ||
      name.compare(name.size() - kEnd.size(), kEnd.size(), kEnd) != 0)
    return std::nullopt;
  const std::wstring digits = name.substr(job.size() + 1, name.size() - job.size() - 1 - kEnd.size());
  if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    return std::nullopt;
  return static_cast<unsigned>(std::stoul(digits));
}

}  // namespace

cJobStore::cJobStore(std::wstring path) : m_Path(std::move(path)) {}

cJobStore::Loaded cJobStore::Load() const {
  if (const std::optional<std::string> text = ReadText()) {
    // What a write cut short by the end of its process left beside the file.
    mLeftovers::RemoveIn(FolderOf(m_Path));
    try {
      return {mJobFile::Parse(*text), Untold()};
    } catch (const mJobFile::Corrupt&) {
      SetAsideNow();
    }
  }
  return {{}, Untold()};
}

// The file's bytes; nothing when there is no file yet.
std::optional<std::string> cJobStore::ReadText() const {
  for (int attempt = 1;; ++attempt) {
    try {
      return mWholeFile::Read(m_Path);
    } catch (const cFileError& error) {
      if (mSystemError::IsNotFound(error.Code()) && NeverWritten()) return std::nullopt;
      if (attempt == kReadAttempts) throw;
    }
    std::this_thread::sleep_for(kReadPause);
  }
}

// The file is not found, and the folder that holds the program's folder answers. Where it does
// not (AppData on a share or a drive that is not there yet), the job may well exist.
bool cJobStore::NeverWritten() const {
  const std::wstring above = FolderOf(FolderOf(m_Path));
  return above.empty() || mFileSys::FolderAnswers(above);
}

void cJobStore::SetAsideNow() const {
  const std::vector<unsigned> numbers = SetAsideNumbers();
  unsigned n = std::max(ToldUpTo(), numbers.empty() ? 0u : numbers.back());
  for (;;) {
    const std::wstring path = m_Path + L"." + std::to_wstring(++n) + L".bad";
    try {
      mFileSys::MoveTo(m_Path, path);
      return;
    } catch (const cFileError&) {
      // Another start of the program may have set the file aside, or taken the number, meanwhile.
      if (!mFileSys::StampOf(m_Path)) return;
      if (!mFileSys::StampOf(path)) throw;
    }
  }
}

// Of the files set aside beside the job, in order.
std::vector<unsigned> cJobStore::SetAsideNumbers() const {
  std::vector<unsigned> numbers;
  const std::wstring folder = FolderOf(m_Path), job = NameOf(m_Path);
  if (!mFileSys::FolderAnswers(folder)) return numbers;
  cFolderListing listing(folder);
  while (const auto item = listing.Next())
    if (const auto n = SetAsideNumber(item->name, job); n && !(item->attributes & cFolderListing::kDirectory)) numbers.push_back(*n);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// The number of the newest file set aside that a window has told of; 0 for none (a record that
// cannot be read included: what it covered is told again, not lost).
unsigned cJobStore::ToldUpTo() const {
  try {
    const std::string text = mWholeFile::Read(m_Path + L".told");
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return 0;
    return static_cast<unsigned>(std::stoul(text));
  } catch (const cFileError&) {
    return 0;
  }
}

cJobStore::SetAside cJobStore::Untold() const {
  SetAside untold;
  const unsigned told = ToldUpTo();
  for (const unsigned n : SetAsideNumbers()) {
    if (n <= told) continue;
    untold.paths.push_back(m_Path + L"." + std::to_wstring(n) + L".bad");
    untold.last = n;
  }
  return untold;
}

void cJobStore::Told(const SetAside& told) const {
  if (told.last > ToldUpTo()) mWholeFile::Write(m_Path + L".told", std::to_string(told.last));
}

void cJobStore::Save(const mJobFile::Job& job) const {
  const std::wstring folder = FolderOf(m_Path);
  if (!folder.empty()) mFileSys::CreateFolder(folder);
  mWholeFile::Write(m_Path, mJobFile::Format(job));
}
