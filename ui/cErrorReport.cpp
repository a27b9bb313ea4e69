#include "cErrorReport.h"

#include <utility>

#include "cControlWindow.h"
#include "mUserMessage.h"

cErrorReport::cErrorReport(std::function<cMessageBox()> box, std::function<void(const std::wstring&)> unattended)
    : m_Box(std::move(box)), m_Unattended(std::move(unattended)) {}

void cErrorReport::Try(const wchar_t* action, const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    Report(action, std::current_exception());
  }
}

void cErrorReport::Report(const wchar_t* action, const std::exception_ptr& error) {
  const cMessageBox box = m_Box();
  if (box.Unattended()) return m_Unattended(mUserMessage::For(action, error));
  if (m_Reporting) return;
  m_Reporting = true;
  box.Show(mUserMessage::For(action, error), MB_OK | MB_ICONERROR);
  m_Reporting = false;
}

void cErrorReport::TakeParked(const wchar_t* action) {
  try {
    cControlWindow::RethrowPendingError();
  } catch (...) {
    Report(action, std::current_exception());
  }
}
