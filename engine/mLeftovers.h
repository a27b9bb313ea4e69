#pragma once
// The temporary files copies leave behind when their process ends in the middle of one (killed,
// or the power lost): "~omb<process id>-<n>.tmp" beside the destination. The earlier backup is
// untouched by them; a later run into the folder removes those whose process no longer runs.
#include <cstdint>
#include <optional>
#include <string>

namespace mLeftovers {

// The temporary file name of copy `n` of process `process`.
std::wstring TemporaryName(std::uint32_t process, unsigned n);
// The process that made a temporary file of this name; nothing for any other name.
std::optional<std::uint32_t> OwnerOf(const std::wstring& fileName);

// Removes from `folder` the temporary files of processes that no longer run, and answers how
// many it removed. Nothing is reported: a file that cannot be removed now (still open, say) is
// left for a later run, and a folder that cannot be read is reported by the copies into it.
int RemoveIn(const std::wstring& folder);
// Removes the file `name` in `folder` when it is a temporary file of a process that no longer
// runs; answers whether it did. As RemoveIn, nothing is reported.
bool RemoveIfOrphaned(const std::wstring& folder, const std::wstring& name);

}  // namespace mLeftovers
