#include "cCommonDialog.h"

#include <cderr.h>

#include <utility>

#include "cComInit.h"
#include "ItemIdList.h"
#include "cDialogError.h"
#include "mDialogInput.h"
#include "mDialogRecord.h"
#include "mDialogResult.h"

namespace {

// A text field's copy for the platform (ending in two NULs), or a null pointer while unset.
class PlatformText {
 public:
  explicit PlatformText(const std::optional<std::wstring>& text) {
    if (text) m_Copy = mDialogInput::PlatformText(*text);
  }
  const wchar_t* Get() const { return m_Copy ? m_Copy->data() : nullptr; }

 private:
  std::optional<std::vector<wchar_t>> m_Copy;
};

HWND OwnerWindow(const wchar_t* operation) {
  const HWND owner = GetActiveWindow();
  if (!owner)
    throw cDialogError(operation, L"GetActiveWindow", 0,
                       L"the application has no active window to own the dialog");
  return owner;
}

// On FNERR_BUFFERTOOSMALL the platform leaves the size it needed in the buffer's first character.
std::wstring BufferDetail(DWORD code, const std::vector<wchar_t>& file) {
  if (code != FNERR_BUFFERTOOSMALL || file.empty()) return {};
  return L" (" + std::to_wstring(file.size()) + L" characters given, " +
         std::to_wstring(static_cast<unsigned>(file[0])) + L" needed)";
}

}  // namespace

struct cCommonDialog::FileDialogCall {
  const wchar_t* Operation;
  const wchar_t* Call;
  const std::function<BOOL(OPENFILENAMEW*)>& Show;
};

cCommonDialog::cCommonDialog() : cCommonDialog(DialogPlatform::System()) {}

cCommonDialog::cCommonDialog(DialogPlatform platform) : m_Platform(std::move(platform)) {}

std::wstring cCommonDialog::BrowseForFolder(const std::wstring& prompt) {
  const wchar_t* const operation = L"BrowseForFolder";
  const HWND owner = OwnerWindow(operation);
  const cComInit com(operation);
  const auto title = mDialogInput::PlatformText(prompt);
  BROWSEINFOW record = mDialogRecord::BrowseRecord(owner, title.data());

  ItemIdList item(m_Platform.BrowseFolder(&record), m_Platform.FreeIdList);
  if (!item) return {};  // cancelled: nothing to free
  auto path = mDialogInput::BrowsePathBuffer();
  m_Platform.PathFromIdList(item.Get(), path.data());  // a failure leaves the buffer to speak
  const std::wstring text(path.begin(), path.end());
  item.Reset();
  return mDialogResult::ParseBrowseResult(text);
}

bool cCommonDialog::ShowOpen() {
  auto file = mDialogInput::OpenFileBuffer(MaxFile());
  const FileDialogCall call{L"ShowOpen", L"GetOpenFileNameW", m_Platform.OpenFile};
  if (!RunFileDialog(call, file, mDialogInput::OpenFlags(m_Flags))) return false;

  auto selection = mDialogResult::ParseOpenResult(std::wstring_view(file.data(), file.size()),
                                                  mDialogInput::ParsesAsMultiSelection(m_Flags));
  m_FileName = std::move(selection.FileName);
  m_FileNames = std::move(selection.FileNames);
  return true;
}

bool cCommonDialog::ShowSave() {
  auto file = mDialogInput::SaveFileBuffer(FileName(), MaxFile());
  const FileDialogCall call{L"ShowSave", L"GetSaveFileNameW", m_Platform.SaveFile};
  if (!RunFileDialog(call, file, mDialogInput::SaveFlags(m_Flags))) return false;

  m_FileName = mDialogResult::ParseSaveResult(std::wstring_view(file.data(), file.size()));
  return true;
}

bool cCommonDialog::RunFileDialog(const FileDialogCall& call, std::vector<wchar_t>& file,
                                  std::int32_t flags) const {
  const HWND owner = OwnerWindow(call.Operation);
  const PlatformText filter(m_Filter), initialDir(m_InitDir), title(m_Title),
      defaultExt(m_DefaultExt);
  OPENFILENAMEW record =
      mDialogRecord::FileRecord(owner, file, flags, m_FilterIndex,
                                {filter.Get(), initialDir.Get(), title.Get(), defaultExt.Get()});
  if (call.Show(&record)) return true;

  const DWORD code = m_Platform.ExtendedError();
  if (code == 0) return false;  // the user cancelled
  throw cDialogError::FromCommDlgError(call.Operation, call.Call, code, BufferDetail(code, file));
}

std::int32_t cCommonDialog::Flags() const { return m_Flags; }
void cCommonDialog::Flags(std::int32_t vData) { m_Flags = vData; }

std::wstring cCommonDialog::Filter() const { return m_Filter.value_or(L""); }
void cCommonDialog::Filter(const std::wstring& vData) {
  m_Filter = mDialogInput::ConvertFilter(vData);
}

std::wstring cCommonDialog::FileName() const { return m_FileName.value_or(L""); }
void cCommonDialog::FileName(const std::wstring& vData) { m_FileName = vData; }

std::int32_t cCommonDialog::MaxFile() const { return mDialogInput::EffectiveMaxFile(m_MaxFile); }
void cCommonDialog::MaxFile(std::int32_t vData) { m_MaxFile = vData; }

std::wstring cCommonDialog::Title() const { return m_Title.value_or(L""); }
void cCommonDialog::Title(const std::wstring& vData) { m_Title = vData; }

const std::vector<std::wstring>& cCommonDialog::FileNames() const { return m_FileNames; }

std::wstring cCommonDialog::DefaultExt() const { return m_DefaultExt.value_or(L""); }
void cCommonDialog::DefaultExt(const std::wstring& vData) { m_DefaultExt = vData; }

std::int32_t cCommonDialog::FilterIndex() const { return m_FilterIndex; }
void cCommonDialog::FilterIndex(std::int32_t vData) { m_FilterIndex = vData; }

std::wstring cCommonDialog::InitDir() const { return m_InitDir.value_or(L""); }
void cCommonDialog::InitDir(const std::wstring& vData) { m_InitDir = vData; }
