#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mDropList.h"

namespace {

using Names = std::vector<std::u16string>;

void PutUint32(std::vector<std::byte>& block, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) block[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

void PutUnit(std::vector<std::byte>& block, char16_t unit) {
  block.push_back(static_cast<std::byte>(unit & 0xFF));
  block.push_back(static_cast<std::byte>(unit >> 8));
}

// A block laid out as the shell lays it out: header, then each name and its zero, then a zero.
std::vector<std::byte> Block(const Names& names, bool wide = true, std::uint32_t offset = 20) {
  std::vector<std::byte> block(offset);
  PutUint32(block, 0, offset);
  PutUint32(block, 4, 10);  // drop point, not read
  PutUint32(block, 8, 20);
  PutUint32(block, 16, wide ? 1 : 0);
  for (const auto& name : names) {
    for (const char16_t unit : name) PutUnit(block, unit);
    PutUnit(block, u'\0');
  }
  PutUnit(block, u'\0');
  return block;
}

TEST(mDropList, ReadsEveryNameInOrderWithNonAnsiAndSurrogateCharacters) {
  const Names names{u"C:\\盘\\报告 2026.docx", u"D:\\\xD83D\xDE00 emoji.txt", u"\\\\server\\share\\a.bin",
                    u"C:\\x"};
  EXPECT_EQ(mDropList::WideNames(Block(names)), names);

  Names many;
  for (int i = 0; i < 10000; ++i) many.push_back(u"C:\\files\\f" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
  EXPECT_EQ(mDropList::WideNames(Block(many)), many);
  EXPECT_EQ(mDropList::WideNames(Block({})), Names{});
}

TEST(mDropList, NamesStartWhereTheHeaderSaysAndEndAtTheListsZero) {
  // A header followed by padding (an odd offset too), and rubbish after the list's end as a
  // block rounded up by its allocator has.
  std::vector<std::byte> block = Block({u"C:\\a.txt", u"C:\\b.txt"}, true, 27);
  for (const char16_t unit : u"C:\\rubbish") PutUnit(block, unit);
  EXPECT_EQ(mDropList::WideNames(block), (Names{u"C:\\a.txt", u"C:\\b.txt"}));
}

TEST(mDropList, AnsiBlocksAreLeftToThePlatform) {
  EXPECT_EQ(mDropList::WideNames(Block({u"C:\\a.txt"}, false)), std::nullopt);
}

TEST(mDropList, DamagedBlocksNeverReadPastTheirEnd) {
  const std::vector<std::byte> whole = Block({u"C:\\first.txt", u"C:\\second.txt"});
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    // Copied to a block of exactly that size, so a read past it is caught by the sanitizers.
    const std::vector<std::byte> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    const auto names = mDropList::WideNames(cut);
    ASSERT_TRUE(names.has_value()) << "the wide flag is read only from a whole header";
    const std::size_t firstEnds = 20 + 2 * 13, secondEnds = firstEnds + 2 * 14;
    if (size < firstEnds) EXPECT_TRUE(names->empty());
    else if (size < secondEnds) EXPECT_EQ(*names, Names{u"C:\\first.txt"}) << "only names with their ending zero";
    else EXPECT_EQ(*names, (Names{u"C:\\first.txt", u"C:\\second.txt"})) << "the list's own zero cut off";
  }
  std::vector<std::byte> outside = Block({u"C:\\a.txt"});
  PutUint32(outside, 0, 4000);
  EXPECT_EQ(mDropList::WideNames(outside), Names{});
  PutUint32(outside, 0, 8);  // inside the header itself
  EXPECT_EQ(mDropList::WideNames(outside), Names{});
}

}  // namespace
