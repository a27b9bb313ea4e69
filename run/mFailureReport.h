#pragma once
// The message that ends a backup run in which some files could not be copied, in Chinese.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cFileError.h"

namespace mFailureReport {

struct Failure {
  std::wstring source;  // the entry's source path
  std::wstring reason;  // why, for the user
};

// The user's reason for a failed copy: what could not be done, and the system's reason.
std::wstring Reason(const cFileError& error);
// Chinese text for a Windows system error code; empty when the code is not a common one.
std::wstring KnownSystemText(std::uint32_t code);

// "有 3 个文件未能备份：" and one block per file; past maxListed, a count of the rest.
std::wstring Summary(const std::vector<Failure>& failures, std::size_t maxListed = 8);
// Names the links inside folder entries that a run did not follow, so that nobody takes what
// they point to for backed up; past maxListed, a count of the rest.
std::wstring LinksNote(const std::vector<std::wstring>& links, std::size_t maxListed = 8);

}  // namespace mFailureReport
