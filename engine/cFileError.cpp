#include "cFileError.h"

#include <utility>

#include "mSystemError.h"
#include "mText.h"

namespace {

std::wstring Compose(CopyStep step, const std::wstring& call, const std::wstring& path,
                     std::uint32_t code, const std::wstring& text) {
  std::wstring out = CopyStepName(step);
  out += L": ";
  out += path;
  out += L": ";
  out += call;
  if (code != 0) out += L": error " + std::to_wstring(code);
  if (!text.empty()) out += L": " + text;
  return out;
}

}  // namespace

cFileError::cFileError(std::wstring call, std::wstring path, std::uint32_t code,
                       std::wstring systemText, Cause cause, CopyStep step)
    : std::runtime_error(mText::ToUtf8(Compose(step, call, path, code, systemText))),
      m_Step(step),
      m_Cause(cause),
      m_Call(std::move(call)),
      m_Path(std::move(path)),
      m_Code(code),
      m_SystemText(std::move(systemText)) {}

cFileError cFileError::FromLastError(std::wstring call, std::wstring path) {
  const std::uint32_t code = mSystemError::LastCode();
  return cFileError(std::move(call), std::move(path), code, mSystemError::Text(code));
}

cFileError cFileError::SourceEnded(std::wstring path) {
  return cFileError(L"ReadFile", std::move(path), 0, L"the source ended before its measured length",
                    Cause::SourceChanged, CopyStep::ReadSource);
}

cFileError cFileError::SourceWrittenDuringCopy(std::wstring path) {
  return cFileError(L"ReadFile", std::move(path), 0, L"the source was written to while it was copied",
                    Cause::SourceChanged, CopyStep::ReadSource);
}

void cFileError::SetStep(CopyStep step) {
  m_Step = step;
  static_cast<std::runtime_error&>(*this) =
      std::runtime_error(mText::ToUtf8(Describe()));
}

std::wstring cFileError::Describe() const {
  return Compose(m_Step, m_Call, m_Path, m_Code, m_SystemText);
}
