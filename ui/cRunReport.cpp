#include "cRunReport.h"

#include <shellapi.h>

#include <exception>
#include <utility>

#include "cPlatformError.h"
#include "mRunSummary.h"
#include "mUserMessage.h"

namespace {

constexpr wchar_t kOpenLogQuestion[] = L"要打开本次备份的日志吗？";

}  // namespace

cRunReport::cRunReport(std::wstring logFolder) : m_LogFolder(std::move(logFolder)) {}

void cRunReport::Begin(const std::wstring& destination) { m_Log.emplace(m_LogFolder, destination, cRunLog::Clock::now()); }

void cRunReport::File(const std::wstring& source, cBackupRunEvents::FileResult result, const std::wstring& reason) {
  if (m_Log) m_Log->File(source, result, reason);
}

void cRunReport::End(const cMessageBox& box, const cRunOutcome& outcome, const std::vector<mFailureReport::Failure>& failures,
                     const std::wstring& brokenBy) {
  std::exception_ptr logError;
  m_LogPath.clear();
  try {
    if (m_Log) m_LogPath = m_Log->Write(outcome, brokenBy, cRunLog::Clock::now());
  } catch (...) {
    logError = std::current_exception();
  }
  m_Log.reset();
  using Icon = mRunSummary::Message::Icon;
  const auto message = mRunSummary::Closing(outcome, failures, brokenBy);
  const UINT icon = message.icon == Icon::Error ? MB_ICONERROR : message.icon == Icon::Information ? MB_ICONINFORMATION : 0u;
  if (failures.empty() || m_LogPath.empty()) box.Show(message.text, MB_OK | icon);
  else if (box.Show(message.text + L"\n\n" + kOpenLogQuestion, MB_YESNO | icon, IDNO) == IDYES) OpenLog(box);
  if (logError) box.Show(mUserMessage::For(L"写入备份日志", logError), MB_OK | MB_ICONERROR);
}

void cRunReport::NotRun(const std::wstring& destination, const std::wstring& reason) const {
  const auto now = cRunLog::Clock::now();
  cRunLog(m_LogFolder, destination, now).WriteNotRun(reason, now);
}

void cRunReport::OpenLog(const cMessageBox& box) const {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(box.Owner(), L"open", m_LogPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  const auto error = std::make_exception_ptr(cPlatformError::FromLastError(L"open the log", m_LogPath, L"ShellExecuteW"));
  box.Show(mUserMessage::For(L"打开备份日志", error), MB_OK | MB_ICONERROR);
}
