#pragma once
// A failed window-system operation of a control: the control's operation, its subject (an
// entry index, a window class), the platform call, and the system's error code with its
// text. Faults the control detects itself (a count past the 16-bit range) carry code 0.
#include <cstdint>
#include <stdexcept>
#include <string>

class cPlatformError : public std::runtime_error {
 public:
  cPlatformError(std::wstring operation, std::wstring subject, std::wstring call,
                 std::uint32_t code, std::wstring systemText);

  // Builds the error for the calling thread's last system error (GetLastError). A call that
  // failed without setting one gets code 0 and the text `fallbackText`.
  static cPlatformError FromLastError(std::wstring operation, std::wstring subject,
                                      std::wstring call, std::wstring fallbackText = L"failed");
  // Builds the error for a failed COM call: the HRESULT with the system's text for it.
  static cPlatformError FromHresult(std::wstring operation, std::wstring subject,
                                    std::wstring call, std::int32_t hr);

  const std::wstring& Operation() const noexcept { return m_Operation; }
  const std::wstring& Subject() const noexcept { return m_Subject; }
  const std::wstring& Call() const noexcept { return m_Call; }
  std::uint32_t Code() const noexcept { return m_Code; }
  const std::wstring& SystemText() const noexcept { return m_SystemText; }
  // "List set: index 7: LB_GETTEXTLEN: error 1413: Invalid index"; an HRESULT in hexadecimal
  std::wstring Describe() const;

 private:
  std::wstring m_Operation;
  std::wstring m_Subject;
  std::wstring m_Call;
  std::uint32_t m_Code;
  std::wstring m_SystemText;
};
