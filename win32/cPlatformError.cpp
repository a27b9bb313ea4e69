#include "cPlatformError.h"

#include <cstdio>
#include <utility>

#include "mSystemError.h"
#include "mText.h"

namespace {

std::wstring Compose(const std::wstring& operation, const std::wstring& subject,
                     const std::wstring& call, std::uint32_t code, const std::wstring& text) {
  std::wstring out = operation + L": " + subject + L": " + call;
  if (code > 0xFFFF) {  // an HRESULT reads as its hexadecimal form, 0x80010106
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08X", static_cast<unsigned>(code));
    out += std::wstring(L": error ") + hex;
  } else if (code != 0) {
    out += L": error " + std::to_wstring(code);
  }
  if (!text.empty()) out += L": " + text;
  return out;
}

}  // namespace

cPlatformError::cPlatformError(std::wstring operation, std::wstring subject, std::wstring call,
                               std::uint32_t code, std::wstring systemText)
    : std::runtime_error(mText::ToUtf8(Compose(operation, subject, call, code, systemText))),
      m_Operation(std::move(operation)),
      m_Subject(std::move(subject)),
      m_Call(std::move(call)),
      m_Code(code),
      m_SystemText(std::move(systemText)) {}

cPlatformError cPlatformError::FromLastError(std::wstring operation, std::wstring subject,
                                             std::wstring call, std::wstring fallbackText) {
  const std::uint32_t code = mSystemError::LastCode();
  return cPlatformError(std::move(operation), std::move(subject), std::move(call), code,
                        code != 0 ? mSystemError::Text(code) : std::move(fallbackText));
}

cPlatformError cPlatformError::FromHresult(std::wstring operation, std::wstring subject,
                                           std::wstring call, std::int32_t hr) {
  const auto code = static_cast<std::uint32_t>(hr);
  return cPlatformError(std::move(operation), std::move(subject), std::move(call), code,
                        mSystemError::Text(code));
}

std::wstring cPlatformError::Describe() const {
  return Compose(m_Operation, m_Subject, m_Call, m_Code, m_SystemText);
}
