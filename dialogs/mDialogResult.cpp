#include "mDialogResult.h"

namespace mDialogResult {

namespace {

constexpr std::wstring_view kDoubleNul{L"\0\0", 2};

std::vector<std::wstring_view> SplitAtNuls(std::wstring_view text) {
  std::vector<std::wstring_view> pieces;
  for (;;) {
    const auto nul = text.find(L'\0');
    pieces.push_back(text.substr(0, nul));
    if (nul == std::wstring_view::npos) return pieces;
    text.remove_prefix(nul + 1);
  }
}

Selection SingleName(std::wstring_view text) {
  Selection selection;
  selection.FileName = TextBeforeNul(text);
  if (!selection.FileName.empty()) selection.FileNames.push_back(selection.FileName);
  return selection;
}

}  // namespace

std::wstring TextBeforeNul(std::wstring_view buffer) {
  return std::wstring(buffer.substr(0, buffer.find(L'\0')));
}

Selection ParseOpenResult(std::wstring_view buffer, bool multiSelection) {
  if (!multiSelection) return SingleName(buffer);

  const std::wstring_view list = buffer.substr(0, buffer.find(kDoubleNul));
  const auto pieces = SplitAtNuls(list);
  if (pieces.size() == 1) return SingleName(list);

  Selection selection;
  selection.FileName = pieces.front();
  if (selection.FileName.empty() || selection.FileName.back() != L'\\') selection.FileName += L'\\';
  for (std::size_t i = 1; i < pieces.size(); ++i)
    selection.FileNames.push_back(selection.FileName + std::wstring(pieces[i]));
  return selection;
}

std::wstring ParseSaveResult(std::wstring_view buffer) { return TextBeforeNul(buffer); }

std::wstring ParseBrowseResult(std::wstring_view buffer) { return TextBeforeNul(buffer); }

}  // namespace mDialogResult
