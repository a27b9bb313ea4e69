#pragma once
// What a run leaves behind once it is over: its log, kept while it runs and written as it ends,
// and its closing message, which offers to open the log when files failed.
#include <optional>
#include <string>
#include <vector>

#include "cMessageBox.h"
#include "cRunLog.h"
#include "cRunOutcome.h"
#include "mFailureReport.h"

class cRunReport {
 public:
  // `logFolder`: where the logs are kept.
  explicit cRunReport(std::wstring logFolder);

  void Begin(const std::wstring& destination);
  void File(const std::wstring& source, cBackupRunEvents::FileResult result, const std::wstring& reason);
  // Writes the log, then shows the closing message in `box` (none unattended). A log that cannot
  // be written is said after the message; the run's own outcome stands.
  void End(const cMessageBox& box, const cRunOutcome& outcome, const std::vector<mFailureReport::Failure>& failures,
           const std::wstring& brokenBy);
  // The log of a run that could not begin, written at once: `reason` says why. Throws cFileError.
  void NotRun(const std::wstring& destination, const std::wstring& reason) const;

 private:
  void OpenLog(const cMessageBox& box) const;

  std::wstring m_LogFolder;
  std::optional<cRunLog> m_Log;
  std::wstring m_LogPath;  // of the last run, once written
};
