#include "mUserMessage.h"

#include <windows.h>

#include <new>

#include "ControlIds.h"
#include "cBackupList.h"
#include "cDialogError.h"
#include "cFileError.h"
#include "cPlatformError.h"
#include "mFailureReport.h"
#include "mText.h"
#include "resource.h"

namespace mUserMessage {
namespace {

std::wstring SystemReason(std::uint32_t code, const std::wstring& systemText) {
  std::wstring why = mFailureReport::KnownSystemText(code);
  if (why.empty()) why = systemText;
  return why.empty() ? L"程序内部错误。" : why;
}

struct Parts {
  std::wstring subject;  // the file concerned, if any
  std::wstring reason;   // for the person
  std::wstring detail;   // for support
};

Parts Describe(const std::exception& error) {
  if (const auto* file = dynamic_cast<const cFileError*>(&error))
    return {file->Path(), mFailureReport::Reason(*file), file->Describe()};
  if (const auto* platform = dynamic_cast<const cPlatformError*>(&error))
    return {{}, SystemReason(platform->Code(), platform->SystemText()), platform->Describe()};
  if (const auto* dialog = dynamic_cast<const cDialogError*>(&error))
    return {{}, L"系统对话框无法打开或返回了无效的结果。", dialog->Describe()};
  if (dynamic_cast<const std::bad_alloc*>(&error)) return {{}, L"内存不足。", L"std::bad_alloc"};
  return {{}, L"程序内部错误。", mText::FromUtf8(error.what())};
}

}  // namespace

std::wstring For(const std::wstring& action, const std::exception& error) {
  const Parts parts = Describe(error);
  std::wstring text = L"无法" + action + L"。\n";
  if (!parts.subject.empty()) text += parts.subject + L"\n";
  return text + parts.reason + L"\n\n技术信息：" + parts.detail;
}

std::wstring For(const std::wstring& action, const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return For(action, e);
  } catch (...) {
    return L"无法" + action + L"。\n程序内部错误。\n\n技术信息：unknown exception";
  }
}

std::wstring EntryReason(const std::exception& error) {
  if (const auto* file = dynamic_cast<const cFileError*>(&error)) return mFailureReport::Reason(*file);
  const Parts parts = Describe(error);
  return parts.reason + L"（" + parts.detail + L"）";
}

std::wstring ListFull(std::size_t refused) {
  return L"列表最多容纳 " + std::to_wstring(cBackupList::kMaxEntries) + L" 个文件，其余 " + std::to_wstring(refused) +
         L" 个文件未添加。";
}

}  // namespace mUserMessage
