#include "cRunLog.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <utility>

#include "cFile.h"
#include "cFolderListing.h"
#include "cFileError.h"
#include "mFileSys.h"
#include "mLeftovers.h"
#include "mRunSummary.h"
#include "mText.h"
#include "mVersions.h"

namespace {

constexpr char kNewLine[] = "\r\n";  // for every editor on Windows
// Lines held before they go to the lines' file, and the piece in which they are read back.
constexpr std::size_t kHeldBytes = 64 * 1024;

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

// The lines' file goes with the log; one left by a process that ended goes with a later prune.
cRunLog::~cRunLog() {
  if (!m_LinesFile) return;
  const std::wstring path = m_LinesFile->Path();
  m_LinesFile.reset();
  try {
    mFileSys::RemoveFile(path);
  } catch (const cFileError&) {
  }
}

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
  if (m_LinesError) return;
  m_Lines += mText::ToUtf8(line) + kNewLine;
  if (m_Lines.size() >= kHeldBytes) Spill();
}

void cRunLog::Spill() {
  try {
    if (!m_LinesFile) {
      MakeFolder();
      for (;;) {
        const std::wstring path = mFileSys::TemporaryNameBeside(m_Folder + L"\\" + L"lines");
        if (auto file = cFile::TryCreateNew(path)) {
          m_LinesFile.emplace(std::move(*file));
          break;
        }
      }
    }
    m_LinesFile->Write(std::as_bytes(std::span(m_Lines.data(), m_Lines.size())));
    m_Lines.clear();
  } catch (const cFileError&) {
    m_LinesError = std::current_exception();
    m_Lines.clear();
  }
}

std::string cRunLog::Text(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended) {
  std::string text;
  Compose(outcome, brokenBy, ended, [&](std::string_view piece) { text += piece; });
  return text;
}

// The log, piece by piece: its header, the lines from their file and those still held, the links.
void cRunLog::Compose(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended,
                      const Sink& sink) {
  if (m_LinesError) std::rethrow_exception(m_LinesError);
  std::wstring result = L"完成备份";
  if (!brokenBy.empty()) result = L"备份已中断：" + brokenBy;
  else if (const std::wstring reason = mRunSummary::Reason(outcome); !reason.empty()) result = reason;
  else if (outcome.stopped) result = L"备份已停止";
  else if (m_Failed > 0) result = L"有文件未能备份";
  std::string text = Header(result, ended);
  text += Utf8Lines(L"共 " + std::to_wstring(outcome.files) + L" 个文件：已复制 " + std::to_wstring(m_Copied) + L"，未改变 " +
                    std::to_wstring(m_Unchanged) + L"，失败 " + std::to_wstring(m_Failed) + L"，链接未跟随 " +
                    std::to_wstring(outcome.links.size()) + L"\n\n");
  sink(text);
  if (m_LinesFile) {
    m_LinesFile->Close();
    cFile lines = cFile::OpenForReading(m_LinesFile->Path());
    std::string piece(kHeldBytes, '\0');
    while (const std::size_t read = lines.Read(std::as_writable_bytes(std::span(piece.data(), piece.size()))))
      sink(std::string_view(piece.data(), read));
  }
  sink(m_Lines);
  for (const std::wstring& link : outcome.links) sink(mText::ToUtf8(L"链接未跟随\t" + link) + kNewLine);
}

std::string cRunLog::NotRunText(const std::wstring& reason, Clock::time_point ended) const {
  return Header(L"无法备份：" + reason, ended);
}

// Written straight to its own new name and not flushed: a record, not a backup, which the run
// would otherwise wait on at its end (a cut one is still a record of what was done).
std::wstring cRunLog::Write(const cRunOutcome& outcome, const std::wstring& brokenBy, Clock::time_point ended) {
  if (m_LinesError) std::rethrow_exception(m_LinesError);
  std::wstring path;
  cFile log = CreateLog(path);
  Compose(outcome, brokenBy, ended, [&](std::string_view piece) { log.Write(std::as_bytes(std::span(piece))); });
  log.Close();
  Prune();
  return path;
}

std::wstring cRunLog::WriteNotRun(const std::wstring& reason, Clock::time_point ended) const {
  std::wstring path;
  cFile log = CreateLog(path);
  const std::string text = NotRunText(reason, ended);
  log.Write(std::as_bytes(std::span(text.data(), text.size())));
  log.Close();
  Prune();
  return path;
}

std::string cRunLog::Header(const std::wstring& result, Clock::time_point ended) const {
  return "\xEF\xBB\xBF"  // the byte order mark by which older editors know UTF-8
         + Utf8Lines(L"OmbrivoBeta 备份日志\n开始时间：" + LocalTime(m_Started) + L"\n结束时间：" + LocalTime(ended) +
                     L"\n备份到：" + m_Destination + L"\n结果：" + result + L"\n");
}

void cRunLog::MakeFolder() const {
  const auto cut = m_Folder.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) mFileSys::CreateFolder(m_Folder.substr(0, cut));
  mFileSys::CreateFolder(m_Folder);
}

cFile cRunLog::CreateLog(std::wstring& path) const {
  MakeFolder();
  path = m_Folder + L"\\" + FreeName();
  return cFile::CreateNew(path);
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
  mLeftovers::RemoveIn(m_Folder);  // the lines' files of runs whose process ended
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
