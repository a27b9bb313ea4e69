#include "cRunLog.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <utility>

#include "cFile.h"
#include "cFolderListing.h"
#include "mFileSys.h"
#include "mRunSummary.h"
#include "mText.h"
#include "mVersions.h"

namespace {

constexpr char kNewLine[] = "\r\n";  // for every editor on Windows

std::wstring Two(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// UTF-8 with Windows line ends. Converted whole: a character beyond 16 bits is two wchar_t on
// Windows, neither of which converts alone.
std::string Utf8Lines(const std::wstring& text) {
  std::string out;
  for (const char c : mText::ToUtf8(text)) out += c == '\n' ? std::string(kNewLine) : std::string(1, c);
  return out;
}

// A log's name is its run's start: names sort as the runs began.
bool IsLogName(const std::wstring& name) {
  return name.size() >= 23 && name.compare(name.size() - 4, 4, L".txt") == 0 && name[4] == L'-' && name[10] == L' ' &&
         std::all_of(name.begin(), name.begin() + 4, [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

}  // namespace

cRunLog::cRunLog(std::wstring folder, std::wstring destination, Clock::time_point started)
    : m_Folder(std::move(folder)), m_Destination(std::move(destination)), m_Started(started) {}

std::wstring cRunLog::LocalTime(Clock::time_point time) {
  const mVersions::LocalTime local = mVersions::At(Clock::to_time_t(time));
  return std::to_wstring(local.year) + L"-" + Two(local.month) + L"-" + Two(local.day) + L" " + Two(local.hour) + L":" +
         Two(local.minute) + L":" + Two(local.second);
}

void cRunLog::File(const std::wstring& source, cBackupRunEvents::FileResult result, const std::wstring& reason) {
  using Result = cBackupRunEvents::FileResult;
  const wchar_t* what = result == Result::Copied ? L"已复制" : result == Result::Unchanged ? L"未改变" : L"失败";
  ++(result == Result::Copied ? m_Copied : result == Result::Unchanged ? m_Unchanged : m_Failed);
  std::wstring line = std::wstring(what) + L"\t" + source;
  if (result == Result::Failed) line += L"\t" + reason;
  m_Lines += mText::ToUtf8(line) + kNewLine;
}

std::string cRunLog::Text(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended) const {
  std::wstring result = L"完成备份";
  if (!brokenBy.empty()) result = L"备份已中断：" + brokenBy;
  else if (const std::wstring reason = mRunSummary::Reason(outcome); !reason.empty()) result = reason;
  else if (outcome.stopped) result = L"备份已停止";
  else if (m_Failed > 0) result = L"有文件未能备份";
  std::string text = Header(result, ended);
  text += Utf8Lines(L"共 " + std::to_wstring(outcome.files) + L" 个文件：已复制 " + std::to_wstring(m_Copied) + L"，未改变 " +
                    std::to_wstring(m_Unchanged) + L"，失败 " + std::to_wstring(m_Failed) + L"，链接未跟随 " +
                    std::to_wstring(outcome.links.size()) + L"\n\n");
  text += m_Lines;
  for (const std::wstring& link : outcome.links) text += mText::ToUtf8(L"链接未跟随\t" + link) + kNewLine;
  return text;
}

std::string cRunLog::NotRunText(const std::wstring& reason, Clock::time_point ended) const {
  return Header(L"无法备份：" + reason, ended);
}

std::wstring cRunLog::Write(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended) const {
  return Save(Text(outcome, brokenBy, ended));
}

std::wstring cRunLog::WriteNotRun(const std::wstring& reason, Clock::time_point ended) const {
  return Save(NotRunText(reason, ended));
}

std::string cRunLog::Header(const std::wstring& result, Clock::time_point ended) const {
  return "\xEF\xBB\xBF"  // the byte order mark by which older editors know UTF-8
         + Utf8Lines(L"OmbrivoBeta 备份日志\n开始时间：" + LocalTime(m_Started) + L"\n结束时间：" + LocalTime(ended) +
                     L"\n备份到：" + m_Destination + L"\n结果：" + result + L"\n");
}

std::wstring cRunLog::Save(const std::string& text) const {
  const auto cut = m_Folder.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) mFileSys::CreateFolder(m_Folder.substr(0, cut));
  mFileSys::CreateFolder(m_Folder);
  const std::wstring path = m_Folder + L"\\" + FreeName();
  // Written straight to its own new name and not flushed: a record, not a backup, which the run
  // would otherwise wait on at its end (a cut one is still a record of what was done).
  cFile file = cFile::CreateNew(path);
  file.Write(std::as_bytes(std::span(text.data(), text.size())));
  file.Close();
  Prune();
  return path;
}

// Two runs begun in one second get "(2)", "(3)", ... after the second one's name.
std::wstring cRunLog::FreeName() const {
  std::wstring stem = LocalTime(m_Started);
  std::replace(stem.begin(), stem.end(), L':', L'-');
  std::wstring name = stem + L".txt";
  for (int n = 2; mFileSys::StampOf(m_Folder + L"\\" + name); ++n) name = stem + L" (" + std::to_wstring(n) + L").txt";
  return name;
}

void cRunLog::Prune() const {
  std::vector<std::wstring> logs;
  cFolderListing listing(m_Folder);
  while (const auto item = listing.Next())
    if (!(item->attributes & cFolderListing::kDirectory) && IsLogName(item->name)) logs.push_back(item->name);
  if (logs.size() <= kKept) return;
  // "… 21-57-14.txt" began before "… 21-57-14 (2).txt": the names compare without ".txt".
  std::sort(logs.begin(), logs.end(), [](const std::wstring& a, const std::wstring& b) {
    return a.compare(0, a.size() - 4, b, 0, b.size() - 4) < 0;
  });
  for (std::size_t i = 0; i + kKept < logs.size(); ++i) mFileSys::RemoveFile(m_Folder + L"\\" + logs[i]);
}
