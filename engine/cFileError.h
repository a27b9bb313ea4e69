#pragma once
// A failed file operation: which step, which platform call, which path, and the system's
// error code with its text. Engine-detected faults carry code 0 and a cause of their own.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "CopyStep.h"

class cFileError : public std::runtime_error {
 public:
  enum class Cause {
    System,              // a platform call failed; Code() and SystemText() say why
    InvalidChunkLength,  // the chunk size was below 1 with data left to copy
    SourceChanged,       // the source was written to, grew or shrank while it was copied
    TooLarge,            // a size that the platform call cannot take
    VerifyFailed,        // the destination gave back other bytes than were written
  };

  cFileError(std::wstring call, std::wstring path, std::uint32_t code, std::wstring systemText,
             Cause cause = Cause::System, CopyStep step = CopyStep::None);

  // Builds the error for the calling thread's last system error (GetLastError or errno).
  static cFileError FromLastError(std::wstring call, std::wstring path);
  // A source that holds fewer bytes than were measured when the copy began.
  static cFileError SourceEnded(std::wstring path);
  // A source whose length or last-write time after its last read differs from before its first.
  static cFileError SourceWrittenDuringCopy(std::wstring path);

  CopyStep Step() const noexcept { return m_Step; }
  void SetStep(CopyStep step);
  Cause Reason() const noexcept { return m_Cause; }
  const std::wstring& Call() const noexcept { return m_Call; }
  const std::wstring& Path() const noexcept { return m_Path; }
  std::uint32_t Code() const noexcept { return m_Code; }
  const std::wstring& SystemText() const noexcept { return m_SystemText; }
  // "open source: C:\a.txt: CreateFileW: error 2: The system cannot find the file specified."
  std::wstring Describe() const;

 private:
  CopyStep m_Step;
  Cause m_Cause;
  std::wstring m_Call;
  std::wstring m_Path;
  std::uint32_t m_Code;
  std::wstring m_SystemText;
};

// Runs one step of a copy; a file error that escapes it is labelled with the step.
template <class Action>
decltype(auto) AtStep(CopyStep step, Action&& action) {
  try {
    return std::forward<Action>(action)();
  } catch (cFileError& error) {
    if (error.Step() == CopyStep::None) error.SetStep(step);
    throw;
  }
}
