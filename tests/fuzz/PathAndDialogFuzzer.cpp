// libFuzzer target for the text functions fed by the user and the platform: the path helpers,
// the parsing of what the file dialog and folder browser wrote, and the
// names in a drag-and-drop block. The input's bytes are taken two at a time as UTF-16 code
// units, as the platform hands them, and whole as a drop block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "mDialogResult.h"
#include "mDropList.h"
#include "mFileHlp.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::wstring Units(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  return text;
}

void FuzzPathHelpers(const std::wstring& path) {
  const std::wstring name = mFileHlp::GetFileName(path);
  Check(name.size() <= path.size());
  Check(path.compare(path.size() - name.size(), name.size(), name) == 0);
  Check(name.find(L'\\') == std::wstring::npos);
  const std::wstring folder = mFileHlp::AddBackslash(path);
  Check(!folder.empty() && folder.back() == L'\\');
  Check(folder.compare(0, path.size(), path) == 0);
  Check(folder.size() - path.size() <= 1);
}

void FuzzDialogResults(const std::wstring& buffer) {
  for (bool multi : {false, true}) {
    const auto selection = mDialogResult::ParseOpenResult(buffer, multi);
    for (const auto& file : selection.FileNames) Check(file.find(L'\0') == std::wstring::npos);
    Check(selection.FileName.find(L'\0') == std::wstring::npos);
    if (selection.FileNames.size() > 1) Check(!selection.FileName.empty() && selection.FileName.back() == L'\\');
  }
  Check(mDialogResult::ParseSaveResult(buffer).find(L'\0') == std::wstring::npos);
  const std::wstring browsed = mDialogResult::ParseBrowseResult(buffer);
  Check(browsed.size() <= buffer.size());
}

void FuzzDropBlock(const std::uint8_t* data, std::size_t size) {
  // Copied to its own allocation so that a read past the block's end is caught.
  const std::vector<std::byte> block(reinterpret_cast<const std::byte*>(data),
                                     reinterpret_cast<const std::byte*>(data) + size);
  const auto names = mDropList::WideNames(block);
  if (!names) return;
  std::size_t units = 0;
  for (const auto& name : *names) {
    Check(!name.empty() && name.find(u'\0') == std::u16string::npos);
    units += name.size() + 1;
  }
  Check(units * 2 <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = Units(data, size);
  FuzzPathHelpers(text);
  FuzzDialogResults(text);
  FuzzDropBlock(data, size);
  return 0;
}
