#pragma once
// Reads the names out of a drag-and-drop block as the shell hands it to a window: a 20-byte
// header (offset of the names, drop point, non-client flag, wide flag) and then the names,
// each ended by a zero, the list ended by one more zero. One pass over the block, never past
// its end: asking the shell for each name by index walks the list from its start every time.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mDropList {

// The names of a block of UTF-16 names, in the order dropped. Nothing when the block holds
// names in the ANSI code page (the platform converts those); an empty list when the header is
// cut off or points outside the block. A last name without its ending zero is left out.
std::optional<std::vector<std::u16string>> WideNames(std::span<const std::byte> block);

}  // namespace mDropList
