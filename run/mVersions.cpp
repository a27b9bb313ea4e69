#include "mVersions.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <stdexcept>

#include "mFileHlp.h"

namespace mVersions {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool Digits(const std::wstring& text, std::size_t from, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    value = value * 10 + (text[i] - L'0');
  }
  return true;
}

// Whether `file` lies inside `folder`, both below one run folder and folded.
bool Inside(const std::wstring& file, const std::wstring& folder) {
  return file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 && file[folder.size()] == L'\\';
}

// " (n)" after a run's start, n from 2.
bool IsSequence(const std::wstring& suffix) {
  int n = 0;
  return suffix.size() >= 4 && suffix.compare(0, 2, L" (") == 0 && suffix.back() == L')' && suffix.size() <= 12 &&
         Digits(suffix, 2, suffix.size() - 3, n) && n >= 2 && suffix[2] != L'0';
}

}  // namespace

LocalTime At(std::time_t time) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

LocalTime Now() { return At(std::time(nullptr)); }

std::int64_t Seconds(const LocalTime& time) {
  return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

std::wstring RunFolderName(const LocalTime& start, int sequence) {
  wchar_t name[32] = {};
  std::swprintf(name, 32, L"%04d-%02d-%02d %02d%02d%02d", start.year, start.month, start.day, start.hour, start.minute,
                start.second);
  return sequence > 1 ? name + (L" (" + std::to_wstring(sequence) + L")") : name;
}

std::optional<LocalTime> RunStartOf(const std::wstring& folderName) {
  if (folderName.size() < 17 || (folderName.size() > 17 && !IsSequence(folderName.substr(17)))) return std::nullopt;
  if (folderName[4] != L'-' || folderName[7] != L'-' || folderName[10] != L' ') return std::nullopt;
  LocalTime time;
  if (!Digits(folderName, 0, 4, time.year) || !Digits(folderName, 5, 2, time.month) || !Digits(folderName, 8, 2, time.day) ||
      !Digits(folderName, 11, 2, time.hour) || !Digits(folderName, 13, 2, time.minute) ||
      !Digits(folderName, 15, 2, time.second))
    return std::nullopt;
  if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 || time.minute > 59 ||
      time.second > 59)
    return std::nullopt;
  return time;
}

std::wstring PathOf(const std::wstring& destination, const std::wstring& backup, const std::wstring& runFolder) {
  const std::wstring base = mFileHlp::AddBackslash(destination);
  if (backup.size() <= base.size() || backup.compare(0, base.size(), base) != 0)
    throw std::logic_error("a kept backup must lie below its destination");
  return base + kFolderName + L"\\" + runFolder + L"\\" + backup.substr(base.size());
}

bool IsOld(const LocalTime& start, const LocalTime& now) { return Seconds(now) - Seconds(start) > kKeptDays * kSecondsPerDay; }

std::vector<std::wstring> Pruned(const std::vector<RunFolder>& runs, const LocalTime& now, const mBackupNames::Fold& fold,
                                 const SourceOf& sourceOf) {
  // The start of the newest run that kept each file from each source.
  std::map<std::pair<std::wstring, std::wstring>, std::int64_t> newest;
  for (const RunFolder& run : runs)
    if (const auto start = RunStartOf(run.name))
      for (const std::wstring& file : run.files)
        if (const auto source = sourceOf(run.name, file)) {
          std::int64_t& latest = newest.try_emplace({fold(file), *source}, Seconds(*start)).first->second;
          latest = std::max(latest, Seconds(*start));
        }
  std::vector<std::wstring> gone;
  for (const RunFolder& run : runs) {
    const auto start = RunStartOf(run.name);
    if (!start || !IsOld(*start, now)) continue;
    std::vector<std::wstring> kept;  // folded
    for (const std::wstring& file : run.files) {
      const auto source = sourceOf(run.name, file);
      if (source && newest.at({fold(file), *source}) > Seconds(*start)) gone.push_back(run.name + L"\\" + file);
      else kept.push_back(fold(file));
    }
    // Folders go once nothing kept is left in them, the deepest first.
    std::vector<std::wstring> folders = run.folders;
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::wstring& folder : folders)
      if (std::none_of(kept.begin(), kept.end(), [&](const std::wstring& file) { return Inside(file, fold(folder)); }))
        gone.push_back(run.name + L"\\" + folder);
    if (kept.empty()) gone.push_back(run.name);
  }
  return gone;
}

}  // namespace mVersions
