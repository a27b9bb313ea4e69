#include "mCommandLine.h"

#include <string_view>

namespace mCommandLine {
namespace {

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

// A quoted path that ends in a backslash ("E:\照片\") comes out of the system's splitting with a
// quote for its last character, the backslash taken as escaping it; no name holds a quote.
std::wstring Unquoted(std::wstring path) {
  if (!path.empty() && path.back() == L'"') path.back() = L'\\';
  return path;
}

}  // namespace

Request Parse(const std::vector<std::wstring>& arguments) {
  using Mode = Request::Mode;
  if (arguments.empty()) return {};
  if (!IsBackupSwitch(arguments[0])) return {Mode::Bad, {}, {}};
  if (arguments.size() == 1) return {Mode::RememberedJob, {}, {}};
  if (arguments.size() == 2 || arguments[1].empty()) return {Mode::Bad, {}, {}};  // a destination and no source
  Request request{Mode::OneOffJob, Unquoted(arguments[1]), {}};
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
         L"      把列出的文件和文件夹备份到目标文件夹，不保存为任务。\n\n"
         L"退出代码：0 全部备份；1 部分文件失败，其余已备份；2 无法备份（没有任务、目标不可用、参数错误）；3 已停止。";
}

}  // namespace mCommandLine
