#include "cDialogError.h"

#include <windows.h>
#include <cderr.h>

#include <cstdio>
#include <utility>

#include "mText.h"

namespace {

std::wstring Hex(std::uint32_t code) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%X", static_cast<unsigned>(code));
  return text;
}

std::wstring Compose(const std::wstring& operation, const std::wstring& call, std::uint32_t code,
                     const std::wstring& text) {
  std::wstring out = operation + L": " + call;
  if (code != 0) out += L": error " + Hex(code);
  if (!text.empty()) out += L": " + text;
  return out;
}

struct CodeText {
  std::uint32_t code;
  const wchar_t* text;
};

// The codes CommDlgExtendedError reports for the file dialogs.
constexpr CodeText kCommDlgCodes[] = {
    {CDERR_STRUCTSIZE, L"CDERR_STRUCTSIZE: the record's size is invalid"},
    {CDERR_INITIALIZATION,
     L"CDERR_INITIALIZATION: the dialog could not be initialised (out of memory?)"},
    {CDERR_NOTEMPLATE, L"CDERR_NOTEMPLATE: no dialog template was given"},
    {CDERR_NOHINSTANCE, L"CDERR_NOHINSTANCE: no instance handle was given"},
    {CDERR_LOADSTRFAILURE, L"CDERR_LOADSTRFAILURE: a string could not be loaded"},
    {CDERR_FINDRESFAILURE, L"CDERR_FINDRESFAILURE: a resource could not be found"},
    {CDERR_LOADRESFAILURE, L"CDERR_LOADRESFAILURE: a resource could not be loaded"},
    {CDERR_LOCKRESFAILURE, L"CDERR_LOCKRESFAILURE: a resource could not be locked"},
    {CDERR_MEMALLOCFAILURE, L"CDERR_MEMALLOCFAILURE: memory could not be allocated"},
    {CDERR_MEMLOCKFAILURE, L"CDERR_MEMLOCKFAILURE: memory could not be locked"},
    {CDERR_NOHOOK, L"CDERR_NOHOOK: no hook procedure was given"},
    {CDERR_REGISTERMSGFAIL, L"CDERR_REGISTERMSGFAIL: a window message could not be registered"},
    {FNERR_SUBCLASSFAILURE, L"FNERR_SUBCLASSFAILURE: the list box could not be subclassed"},
    {FNERR_INVALIDFILENAME, L"FNERR_INVALIDFILENAME: the file name is invalid"},
    {FNERR_BUFFERTOOSMALL,
     L"FNERR_BUFFERTOOSMALL: the file name buffer is too small for the selection"},
    {CDERR_DIALOGFAILURE, L"CDERR_DIALOGFAILURE: the dialog box could not be created"},
};

}  // namespace

cDialogError::cDialogError(std::wstring operation, std::wstring call, std::uint32_t code,
                           std::wstring text)
    : std::runtime_error(mText::ToUtf8(Compose(operation, call, code, text))),
      m_Operation(std::move(operation)),
      m_Call(std::move(call)),
      m_Code(code),
      m_Text(std::move(text)) {}

cDialogError cDialogError::FromCommDlgError(std::wstring operation, std::wstring call,
                                            std::uint32_t code, const std::wstring& detail) {
  return cDialogError(std::move(operation), std::move(call), code, CommDlgErrorText(code) + detail);
}

std::wstring cDialogError::Describe() const { return Compose(m_Operation, m_Call, m_Code, m_Text); }

std::wstring CommDlgErrorText(std::uint32_t code) {
  for (const auto& known : kCommDlgCodes)
    if (known.code == code) return known.text;
  return L"common dialog error";
}
