#include "mDropList.h"

#include <cstdint>

namespace mDropList {
namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kNamesOffsetAt = 0;
constexpr std::size_t kWideFlagAt = 16;

std::uint32_t ReadUint32(std::span<const std::byte> block, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::to_integer<std::uint32_t>(block[at + i]) << (8 * i);
  return value;
}

char16_t ReadUnit(std::span<const std::byte> block, std::size_t at) {
  return static_cast<char16_t>(std::to_integer<unsigned>(block[at]) |
                               (std::to_integer<unsigned>(block[at + 1]) << 8));
}

}  // namespace

std::optional<std::vector<std::u16string>> WideNames(std::span<const std::byte> block) {
  std::vector<std::u16string> names;
  if (block.size() < kHeaderSize) return names;
  if (ReadUint32(block, kWideFlagAt) == 0) return std::nullopt;
  const std::size_t offset = ReadUint32(block, kNamesOffsetAt);
  if (offset < kHeaderSize || offset > block.size()) return names;
  std::u16string name;
  for (std::size_t at = offset; at + 1 < block.size(); at += 2) {
    const char16_t unit = ReadUnit(block, at);
    if (unit != u'\0') {
      name += unit;
    } else if (name.empty()) {
      break;  // the zero that ends the list
    } else {
      names.push_back(std::move(name));
      name.clear();
    }
  }
  return names;
}

}  // namespace mDropList
