#pragma once
// A failed dialog operation: which operation of cCommonDialog, which platform call, and the
// platform's error code with its meaning. A cancelled dialog is no error and never raises one.
#include <cstdint>
#include <stdexcept>
#include <string>

class cDialogError : public std::runtime_error {
 public:
  cDialogError(std::wstring operation, std::wstring call, std::uint32_t code, std::wstring text);

  // For a common dialog that failed: the code CommDlgExtendedError gave, with its meaning.
  static cDialogError FromCommDlgError(std::wstring operation, std::wstring call,
                                       std::uint32_t code, const std::wstring& detail = {});

  const std::wstring& Operation() const noexcept { return m_Operation; }
  const std::wstring& Call() const noexcept { return m_Call; }
  // CommDlgExtendedError's code, or 0 for a fault the object found itself.
  std::uint32_t Code() const noexcept { return m_Code; }
  const std::wstring& Text() const noexcept { return m_Text; }
  // "ShowOpen: GetOpenFileNameW: error 0x3003: FNERR_BUFFERTOOSMALL: ..."
  std::wstring Describe() const;

 private:
  std::wstring m_Operation;
  std::wstring m_Call;
  std::uint32_t m_Code;
  std::wstring m_Text;
};

// The name and meaning of a CommDlgExtendedError code.
std::wstring CommDlgErrorText(std::uint32_t code);
