#include "mRunSummary.h"

namespace mRunSummary {
namespace {

constexpr wchar_t kDoneMessage[] = L"完成备份！";
constexpr wchar_t kRunBrokenMessage[] = L"备份已中断，其余文件没有复制。";

std::wstring Stopped(const cBackupRun::Outcome& outcome) {
  if (!outcome.counted) return L"备份已停止，没有复制任何文件。";
  return L"备份已停止。已备份 " + std::to_wstring(outcome.backedUp) + L" 个文件，未备份 " +
         std::to_wstring(outcome.files - outcome.backedUp) + L" 个文件。";
}

void Add(std::wstring& text, const std::wstring& part) {
  if (!part.empty()) text += (text.empty() ? L"" : L"\n\n") + part;
}

}  // namespace

Message Closing(const cBackupRun::Outcome& outcome, const std::vector<mFailureReport::Failure>& failures,
                const std::wstring& brokenBy) {
  std::wstring text;
  if (!brokenBy.empty()) text = brokenBy + L"\n\n" + kRunBrokenMessage;
  else if (outcome.stopped) text = Stopped(outcome);
  if (!failures.empty()) Add(text, mFailureReport::Summary(failures));
  const bool clean = text.empty();
  if (clean) text = kDoneMessage;
  if (!outcome.links.empty()) Add(text, mFailureReport::LinksNote(outcome.links));
  if (!brokenBy.empty() || !failures.empty()) return {text, Message::Icon::Error};
  return {text, clean && outcome.links.empty() ? Message::Icon::None : Message::Icon::Information};
}

}  // namespace mRunSummary
