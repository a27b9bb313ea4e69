#include "mFailureReport.h"

#include <algorithm>

namespace mFailureReport {
namespace {

std::wstring StepText(CopyStep step) {
  switch (step) {
    case CopyStep::OpenDestination: return L"无法写入目标文件";
    case CopyStep::MeasureSource:
    case CopyStep::OpenSource: return L"无法打开源文件";
    case CopyStep::CreateTemporary: return L"无法在目标文件夹中创建文件";
    case CopyStep::ReadSource: return L"读取源文件失败";
    case CopyStep::WriteDestination:
    case CopyStep::FlushDestination: return L"写入目标文件失败";
    case CopyStep::VerifyDestination: return L"目标文件校验失败";
    case CopyStep::KeepVersion: return L"无法创建保存旧版本的文件夹";
    case CopyStep::ReplaceDestination: return L"无法替换目标文件";
    case CopyStep::None: break;
  }
  return L"备份失败";
}

struct KnownCode {
  std::uint32_t code;
  const wchar_t* text;
};

// The Windows error codes a backup meets in practice.
constexpr KnownCode kKnownCodes[] = {
    {2, L"系统找不到指定的文件。"},
    {3, L"系统找不到指定的路径。"},
    {5, L"拒绝访问。"},
    {15, L"系统找不到指定的驱动器。"},
    {19, L"介质受写入保护。"},
    {21, L"设备未就绪。"},
    {23, L"数据错误（循环冗余检查）。"},
    {32, L"另一个程序正在使用此文件，进程无法访问。"},
    {33, L"另一个程序已锁定文件的一部分，进程无法访问。"},
    {39, L"磁盘已满。"},
    {112, L"磁盘空间不足。"},
    {123, L"文件名、目录名或卷标语法不正确。"},
    {161, L"指定的路径无效。"},
    {206, L"文件名或扩展名太长。"},
    {1392, L"文件或目录损坏且无法读取。"},
};

}  // namespace

std::wstring KnownSystemText(std::uint32_t code) {
  for (const auto& known : kKnownCodes)
    if (known.code == code) return known.text;
  return L"";
}

std::wstring Reason(const cFileError& error) {
  // No step says more than this: the change may show at any read, or only after the last one.
  if (error.Reason() == cFileError::Cause::SourceChanged) return L"源文件在备份时被修改。";
  std::wstring why;
  switch (error.Reason()) {
    case cFileError::Cause::SourceChanged: break;  // answered above
    case cFileError::Cause::InvalidChunkLength: why = L"复制块大小无效。"; break;
    case cFileError::Cause::TooLarge: why = L"文件太大。"; break;
    case cFileError::Cause::VerifyFailed: why = L"写入的内容与源文件不一致。"; break;
    case cFileError::Cause::System: {
      why = KnownSystemText(error.Code());
      if (why.empty()) why = error.SystemText();
      why += L"（错误代码 " + std::to_wstring(error.Code()) + L"）";
      break;
    }
  }
  return StepText(error.Step()) + L"：" + why;
}

std::wstring Summary(const std::vector<Failure>& failures, std::size_t maxListed) {
  std::wstring text = L"有 " + std::to_wstring(failures.size()) + L" 个文件未能备份：\n";
  const std::size_t listed = std::min(failures.size(), maxListed);
  for (std::size_t i = 0; i < listed; ++i)
    text += L"\n" + failures[i].source + L"\n    " + failures[i].reason + L"\n";
  if (failures.size() > listed)
    text += L"\n……另有 " + std::to_wstring(failures.size() - listed) + L" 个文件未能备份。\n";
  text += L"\n已备份的文件已标记“√”。排除问题后再按“开始”，只备份尚未标记的文件。";
  return text;
}

std::wstring LinksNote(const std::vector<std::wstring>& links, std::size_t maxListed) {
  std::wstring text = L"有 " + std::to_wstring(links.size()) + L" 个链接（符号链接或交接点）未跟随，它们指向的内容没有备份：\n";
  const std::size_t listed = std::min(links.size(), maxListed);
  for (std::size_t i = 0; i < listed; ++i) text += L"\n" + links[i];
  if (links.size() > listed) text += L"\n……另有 " + std::to_wstring(links.size() - listed) + L" 个链接。";
  return text;
}

}  // namespace mFailureReport
