#pragma once
// The remembered job as a file: UTF-8 JSON holding the destination and the list's entries with
// the names their backups were given. A path is kept as its volume's serial number and the path
// below the volume's root, so that a stick that comes back under another drive letter brings
// its entries with it; the root it last had stands in while the volume is away.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mJobFile {

struct Entry {
  std::wstring source;
  std::wstring name;  // of its backup in the destination folder
  bool operator==(const Entry&) const = default;
};

struct Job {
  std::wstring destination;
  std::vector<Entry> entries;
  bool operator==(const Job&) const = default;
};

// How paths meet the volumes mounted now.
struct Volumes {
  std::function<std::wstring(const std::wstring& path)> rootOf;  // of the volume a path lies on; ends in a separator
  std::function<std::optional<std::uint32_t>(const std::wstring& root)> serialOf;
  std::function<std::optional<std::wstring>(std::uint32_t serial)> mountedAt;  // the root it has now
};

// A file this program did not write, or one cut or changed since.
class Corrupt : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Format(const Job& job, const Volumes& volumes);
// Throws Corrupt.
Job Parse(std::string_view text, const Volumes& volumes);

}  // namespace mJobFile
