#pragma once
// The record of one run, as a UTF-8 text file in the logs folder named by the run's start
// ("2026-12-08 21-57-14.txt"): a header with the start and end, the destination and the
// totals, then one line per file with what became of it and its path. The lines go to a file of
// their own in the logs folder as the run goes, a piece at a time, so that a run of any size holds
// little of them; the log itself is written when the run ends, with the header its end decides,
// and the lines' file goes. Only the newest logs are kept.
#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cBackupRunEvents.h"
#include "cFile.h"
#include "cRunOutcome.h"

class cRunLog {
 public:
  using Clock = std::chrono::system_clock;
  static constexpr std::size_t kKept = 50;

  cRunLog(std::wstring folder, std::wstring destination, Clock::time_point started);
  ~cRunLog();
  cRunLog(const cRunLog&) = delete;
  cRunLog& operator=(const cRunLog&) = delete;

  // A file's line. A lines' file that cannot be written never ends the run: its error is the
  // log's, thrown by Write, and the lines after it are not kept.
  void File(const std::wstring& source, cBackupRunEvents::FileResult result, const std::wstring& reason);
  // The whole log as it will be written; `brokenBy` says why the run broke off, if it did.
  std::string Text(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended);
  // Writes the log (making its folder when needed), removes all but the newest kKept logs, and
  // answers the log's path. Throws cFileError.
  std::wstring Write(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended);
  // The log of a run that could not begin at all (an unattended run: a bad command line, a job
  // set aside, ...): the header alone, its result "无法备份：" and `reason`. Written as Write.
  std::string NotRunText(const std::wstring& reason, Clock::time_point ended) const;
  std::wstring WriteNotRun(const std::wstring& reason, Clock::time_point ended) const;

  // "2026-12-08 21:57:14" in local time.
  static std::wstring LocalTime(Clock::time_point time);

 private:
  using Sink = std::function<void(std::string_view)>;

  std::string Header(const std::wstring& result, Clock::time_point ended) const;
  void Compose(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended, const Sink& sink);
  void Spill();
  void MakeFolder() const;
  cFile CreateLog(std::wstring& path) const;
  std::wstring FreeName() const;
  void Prune() const;

  std::wstring m_Folder;
  std::wstring m_Destination;
  Clock::time_point m_Started;
  std::string m_Lines;  // UTF-8, one per file, not yet in the lines' file
  std::optional<cFile> m_LinesFile;  // once the lines held grew large
  std::exception_ptr m_LinesError;   // why the lines' file could not be written
  int m_Copied = 0, m_Unchanged = 0, m_Failed = 0;
};
