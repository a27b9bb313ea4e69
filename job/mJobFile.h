#pragma once
// The remembered job as a file: UTF-8 JSON holding the destination and the list's entries with
// the names their backups were given. An entry whose volume was known as it was added keeps that
// volume's serial number, its root then and its label, with the path below the root: it belongs
// to that volume, whatever volume is at its old letter now. Neither writing nor reading asks
// the system anything.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mSourceVolume.h"

namespace mJobFile {

struct Entry {
  std::wstring source;
  std::wstring name;  // of its backup in the destination folder
  std::optional<mSourceVolume::Volume> volume;
  bool operator==(const Entry&) const = default;
};

struct Job {
  std::wstring destination;
  std::vector<Entry> entries;
  bool operator==(const Job&) const = default;
};

// A file this program did not write, or one cut or changed since.
class Corrupt : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Format(const Job& job);
// Throws Corrupt.
Job Parse(std::string_view text);

}  // namespace mJobFile
