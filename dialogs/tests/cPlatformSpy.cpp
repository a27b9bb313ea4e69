#include "cPlatformSpy.h"

namespace {

std::optional<std::wstring> TextWithTwoNuls(const wchar_t* text) {
  if (!text) return std::nullopt;
  std::size_t length = 0;
  while (text[length] || text[length + 1]) ++length;
  return std::wstring(text, length + 2);
}

FileCall Capture(const OPENFILENAMEW& record) {
  FileCall call;
  call.record = record;
  call.file.assign(record.lpstrFile, record.nMaxFile);
  call.filter = TextWithTwoNuls(record.lpstrFilter);
  call.initialDir = TextWithTwoNuls(record.lpstrInitialDir);
  call.title = TextWithTwoNuls(record.lpstrTitle);
  call.defaultExt = TextWithTwoNuls(record.lpstrDefExt);
  return call;
}

}  // namespace

DialogPlatform cPlatformSpy::Platform() {
  DialogPlatform system = DialogPlatform::System();
  DialogPlatform spy = system;
  auto fileCall = [this](std::function<BOOL(OPENFILENAMEW*)> real) {
    return [this, real](OPENFILENAMEW* record) {
      fileCalls.push_back(Capture(*record));
      const BOOL result = real(record);
      fileCalls.back().result = result;
      fileCalls.back().filterIndexAfter = record->nFilterIndex;
      return result;
    };
  };
  spy.OpenFile = fileCall(system.OpenFile);
  spy.SaveFile = fileCall(system.SaveFile);
  spy.BrowseFolder = [this, real = system.BrowseFolder](BROWSEINFOW* record) {
    BrowseCall call{*record, TextWithTwoNuls(record->lpszTitle), nullptr};
    call.returned = real(record);
    browseCalls.push_back(call);
    shellCalls.emplace_back("browse", call.returned);
    return call.returned;
  };
  spy.PathFromIdList = [this, real = system.PathFromIdList](PCIDLIST_ABSOLUTE list, wchar_t* path) {
    shellCalls.emplace_back("path", list);
    return pathStandIn ? pathStandIn(list, path) : real(list, path);
  };
  spy.FreeIdList = [this, real = system.FreeIdList](void* list) {
    shellCalls.emplace_back("free", list);
    real(list);
  };
  return spy;
}
