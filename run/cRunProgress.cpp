#include "cRunProgress.h"

#include <algorithm>

namespace {

// Before this much time and some bytes, a rate says little about the rest of the run.
constexpr auto kEstimateAfter = std::chrono::seconds(1);

std::wstring TwoDigits(long long n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

std::wstring ClockText(std::chrono::seconds left) {
  const long long s = left.count();
  if (s >= 3600) return std::to_wstring(s / 3600) + L":" + TwoDigits(s / 60 % 60) + L":" + TwoDigits(s % 60);
  return std::to_wstring(s / 60) + L":" + TwoDigits(s % 60);
}

}  // namespace

cRunProgress::cRunProgress(int files, std::int64_t totalBytes, Clock::time_point start)
    : m_Files(files), m_TotalBytes(std::max<std::int64_t>(0, totalBytes)), m_Start(start) {}

void cRunProgress::BeginFile(std::int64_t bytes) {
  if (m_Current > 0) m_DoneBefore += m_CurrentBytes;  // a failed file counts as gone by
  ++m_Current;
  m_CurrentBytes = std::max<std::int64_t>(0, bytes);
  m_CurrentCopied = 0;
  // A file that came after the run was counted (the tree grew meanwhile) makes the run larger
  // rather than carrying it past its end.
  m_Files = std::max(m_Files, m_Current);
  m_TotalBytes = std::max(m_TotalBytes, m_DoneBefore + m_CurrentBytes);
}

void cRunProgress::FileProgress(std::int64_t copied) {
  // A file that grew since it was measured does not carry the run past its end.
  m_CurrentCopied = std::clamp<std::int64_t>(copied, 0, m_CurrentBytes);
}

int cRunProgress::Percent() const {
  if (m_TotalBytes == 0) return m_Files == 0 ? 100 : static_cast<int>(100LL * std::max(0, m_Current - 1) / m_Files);
  const std::int64_t done = DoneBytes();
  if (done >= m_TotalBytes) return 100;
  // 100 only when all is done; no product that could overflow for runs of any size.
  const auto share = static_cast<long double>(done) * 100 / static_cast<long double>(m_TotalBytes);
  return std::min(99, static_cast<int>(share));
}

std::optional<std::chrono::seconds> cRunProgress::TimeLeft(Clock::time_point now) const {
  const auto elapsed = std::chrono::duration<double>(now - m_Start);
  const std::int64_t done = DoneBytes();
  if (elapsed < kEstimateAfter || done <= 0) return std::nullopt;
  const double rate = static_cast<double>(done) / elapsed.count();
  const double left = static_cast<double>(std::max<std::int64_t>(0, m_TotalBytes - done)) / rate;
  return std::chrono::seconds(static_cast<long long>(left + 0.5));
}

std::wstring cRunProgress::Caption(Clock::time_point now, bool withTimeLeft) const {
  std::wstring text = L"备份进度：" + std::to_wstring(m_Current) + L"/" + std::to_wstring(m_Files) + L" " +
                      std::to_wstring(Percent()) + L"%";
  if (withTimeLeft)
    if (const auto left = TimeLeft(now)) text += L" 剩余 " + ClockText(*left);
  return text;
}

std::wstring cRunProgress::Title(const std::wstring& name) const {
  return std::to_wstring(Percent()) + L"% " + name;
}
