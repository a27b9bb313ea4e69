#include "mRunSummary.h"

#include "mRunRules.h"

namespace mRunSummary {
namespace {

constexpr wchar_t kDoneMessage[] = L"完成备份！";
constexpr wchar_t kRunBrokenMessage[] = L"备份已中断，其余文件没有复制。";

std::wstring Stopped(const cRunOutcome& outcome) {
  if (!outcome.counted) return L"备份已停止，没有复制任何文件。";
  return L"备份已停止。已备份 " + std::to_wstring(outcome.backedUp) + L" 个文件，未备份 " +
         std::to_wstring(outcome.files - outcome.backedUp) + L" 个文件。";
}

std::wstring NoRoom(const cRunOutcome& outcome) {
  return L"目标磁盘空间不足：需要 " + mRunRules::SizeText(outcome.neededBytes) + L"，可用 " +
         mRunRules::SizeText(outcome.freeBytes) + L"。没有复制任何文件。";
}

std::wstring Gone(const cRunOutcome& outcome) {
  return L"目标磁盘已不可用。已备份 " + std::to_wstring(outcome.backedUp) + L" 个文件，未备份 " +
         std::to_wstring(outcome.files - outcome.backedUp) + L" 个文件。已备份的文件没有改动。";
}

constexpr wchar_t kBusyMessage[] = L"另一个备份一直在写入目标文件夹，等待它结束的时间已过。没有复制任何文件。";

std::wstring Skipped(const cRunOutcome& outcome) {
  if (outcome.skipped == 0) return L"";
  return L"没有替换 " + std::to_wstring(outcome.skipped) + L" 个已备份的文件，它们的备份保持原样；只复制了新文件。";
}

void Add(std::wstring& text, const std::wstring& part) {
  if (!part.empty()) text += (text.empty() ? L"" : L"\n\n") + part;
}

}  // namespace

Message Closing(const cRunOutcome& outcome, const std::vector<mFailureReport::Failure>& failures,
                const std::wstring& brokenBy) {
  std::wstring text;
  if (!brokenBy.empty()) text = brokenBy + L"\n\n" + kRunBrokenMessage;
  else if (outcome.noRoom) return {NoRoom(outcome), Message::Icon::Error};
  else if (outcome.destinationBusy) return {kBusyMessage, Message::Icon::Error};
  else if (outcome.destinationGone) text = Gone(outcome);
  else if (outcome.stopped) text = Stopped(outcome);
  if (!failures.empty()) Add(text, mFailureReport::Summary(failures));
  const bool clean = text.empty() && outcome.skipped == 0;
  if (clean) text = kDoneMessage;
  Add(text, Skipped(outcome));
  if (!outcome.links.empty()) Add(text, mFailureReport::LinksNote(outcome.links));
  if (!brokenBy.empty() || !failures.empty() || outcome.destinationGone) return {text, Message::Icon::Error};
  return {text, clean && outcome.links.empty() ? Message::Icon::None : Message::Icon::Information};
}

std::wstring Reason(const cRunOutcome& outcome) {
  if (outcome.noRoom) return NoRoom(outcome);
  if (outcome.destinationBusy) return kBusyMessage;
  if (outcome.destinationGone) return Gone(outcome);
  if (outcome.replaceAnswer != cRunOutcome::Answer::Skip) return L"";
  return L"将替换 " + std::to_wstring(outcome.replacements) + L" 个已备份的文件，源文件可能已损坏或被加密。" + Skipped(outcome);
}

}  // namespace mRunSummary
