#include "mCommandLine.h"

#include <utility>

namespace mCommandLine {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program's name ends at the next quote when it begins with one, otherwise at white space;
// backslashes are plain characters in it. Answers where its arguments begin.
std::size_t ProgramName(std::wstring_view line, std::wstring& name) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    for (i = 1; i < line.size() && line[i] != L'"'; ++i) name += line[i];
    return i < line.size() ? i + 1 : i;
  }
  for (; i < line.size() && !IsBlank(line[i]); ++i) name += line[i];
  return i;
}

// The arguments after the program's name. `quotes` counts as the system does: 1 inside quotes,
// and a third quote in a row stands for a quote character. A run of backslashes is halved
// before a quote; an odd one's last backslash escapes the quote, except where the quote ends
// a quoted argument: there it stays a backslash.
class cSplitter {
 public:
  explicit cSplitter(std::wstring_view line) : m_Line(line) {}

  void Run(std::size_t i, std::vector<std::wstring>& arguments) {
    while (i < m_Line.size() && IsBlank(m_Line[i])) ++i;
    if (i == m_Line.size()) return;
    while (i < m_Line.size()) {
      const wchar_t c = m_Line[i];
      if (IsBlank(c) && m_Quotes == 0) {
        arguments.push_back(std::exchange(m_Argument, {}));
        m_Backslashes = 0;
        while (i < m_Line.size() && IsBlank(m_Line[i])) ++i;
        if (i == m_Line.size()) return;
      } else if (c == L'"') {
        i = Quote(i);
      } else {
        m_Argument += c;
        m_Backslashes = c == L'\\' ? m_Backslashes + 1 : 0;
        ++i;
      }
    }
    arguments.push_back(std::move(m_Argument));
  }

 private:
  // Answers where the quote and those right after it end.
  std::size_t Quote(std::size_t i) {
    const bool ends = i + 1 == m_Line.size() || IsBlank(m_Line[i + 1]);
    m_Argument.resize(m_Argument.size() - m_Backslashes / 2);
    if (m_Backslashes % 2 == 0 || (m_Quotes == 1 && ends)) {
      ++m_Quotes;
    } else {
      m_Argument.back() = L'"';
    }
    m_Backslashes = 0;
    for (++i; i < m_Line.size() && m_Line[i] == L'"'; ++i) {
      if (++m_Quotes == 3) {
        m_Argument += L'"';
        m_Quotes = 0;
      }
    }
    if (m_Quotes == 2) m_Quotes = 0;
    return i;
  }

  std::wstring_view m_Line;
  std::wstring m_Argument;
  int m_Quotes = 0;
  std::size_t m_Backslashes = 0;
};

// Switches are written either way and in any case, as Windows programs take them.
bool IsBackupSwitch(const std::wstring& argument) {
  constexpr std::wstring_view kName = L"backup";
  if (argument.size() != kName.size() + 1 || (argument[0] != L'/' && argument[0] != L'-')) return false;
  for (std::size_t i = 0; i < kName.size(); ++i) {
    const wchar_t c = argument[i + 1];
    if ((c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c) != kName[i]) return false;
  }
  return true;
}

// A path whose last character is a quote can only come from a quoting the splitting took
// otherwise ("E:\照片\""); no name holds a quote.
std::wstring Unquoted(std::wstring path) {
  if (!path.empty() && path.back() == L'"') path.back() = L'\\';
  return path;
}

Request BadBackup(std::wstring problem) { return {Request::Mode::BadBackup, {}, {}, std::move(problem)}; }

}  // namespace

std::vector<std::wstring> Split(std::wstring_view line) {
  std::vector<std::wstring> arguments(1);
  const std::size_t rest = ProgramName(line, arguments[0]);
  cSplitter(line).Run(rest, arguments);
  return arguments;
}

Request Parse(const std::vector<std::wstring>& arguments) {
  using Mode = Request::Mode;
  if (arguments.empty()) return {};
  if (!IsBackupSwitch(arguments[0])) return {Mode::Bad, {}, {}, {}};
  if (arguments.size() == 1) return {Mode::RememberedJob, {}, {}, {}};
  if (arguments.size() == 2) return BadBackup(L"目标文件夹之后缺少要备份的文件或文件夹。");
  for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument)
    if (argument->empty()) return BadBackup(L"第 " + std::to_wstring(argument - arguments.begin() + 1) + L" 个参数是空的路径。");
  Request request{Mode::OneOffJob, Unquoted(arguments[1]), {}, {}};
  for (auto argument = arguments.begin() + 2; argument != arguments.end(); ++argument) request.sources.push_back(Unquoted(*argument));
  return request;
}

std::wstring Usage() {
  return L"用法：\n"
         L"  OmbrivoBeta.exe\n"
         L"      打开程序窗口。\n"
         L"  OmbrivoBeta.exe /backup\n"
         L"      立即备份上次保存的任务（列表和目标文件夹），最小化运行，不提问，完成后退出。\n"
         L"  OmbrivoBeta.exe /backup <目标文件夹> <文件或文件夹>...\n"
         L"      把列出的文件和文件夹备份到目标文件夹，不保存为任务。路径中有空格时加英文双引号。\n\n"
         L"退出代码：\n"
         L"  0  全部备份完成\n"
         L"  1  部分文件失败，其余已备份\n"
         L"  2  无法备份（没有任务、目标不可用、全部文件失败、参数错误）\n"
         L"  3  备份被停止\n"
         L"  4  会替换大量已有的备份，已暂缓替换，只复制了新文件\n"
         L"每次 /backup 运行的结果都写在日志中（%LOCALAPPDATA%\\OmbrivoBeta\\日志）。";
}

}  // namespace mCommandLine
