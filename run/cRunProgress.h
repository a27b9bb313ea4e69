#pragma once
// How far a whole backup run has come: the files done of all, the bytes copied of all the run
// copies, and an estimate of the time left from the rate so far. Counts only; the window shows
// them in Label3, in its title and on its taskbar button.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class cRunProgress {
 public:
  using Clock = std::chrono::steady_clock;

  // A run of `files` files holding `totalBytes` bytes between them, started at `start`.
  cRunProgress(int files, std::int64_t totalBytes, Clock::time_point start);

  // The next file, of `bytes` bytes, begins; the one before is done (copied or failed).
  void BeginFile(std::int64_t bytes);
  // The current file has `copied` of its bytes at the destination.
  void FileProgress(std::int64_t copied);

  int Current() const noexcept { return m_Current; }
  int Files() const noexcept { return m_Files; }
  std::int64_t CurrentBytes() const noexcept { return m_CurrentBytes; }
  std::int64_t DoneBytes() const noexcept { return m_DoneBefore + m_CurrentCopied; }
  std::int64_t TotalBytes() const noexcept { return m_TotalBytes; }
  // 0 to 100, rounded down; by files when the run holds no bytes at all.
  int Percent() const;
  // Once the rate can be told (a little time and some bytes gone by), the time left at it.
  std::optional<std::chrono::seconds> TimeLeft(Clock::time_point now) const;

  // "备份进度：3/10 42%", and with the time left " 剩余 1:05" (h:mm:ss from an hour).
  std::wstring Caption(Clock::time_point now, bool withTimeLeft) const;
  // The window's title during the run, which the taskbar shows: "42% OmbrivoBeta".
  std::wstring Title(const std::wstring& name) const;

 private:
  int m_Files;
  std::int64_t m_TotalBytes;
  Clock::time_point m_Start;
  int m_Current = 0;
  std::int64_t m_DoneBefore = 0;     // bytes of the files before the current one
  std::int64_t m_CurrentBytes = 0;   // the current file's length
  std::int64_t m_CurrentCopied = 0;  // of which copied so far
};
