#pragma once
// The items of one folder as a walk keeps them, compactly: one record of fixed size per item and
// the names packed in blocks of 32,768 characters, so that a folder of 100,000 files costs a few megabytes
// rather than a string and a heap block per name. Both grow a piece at a time, never copied
// whole into a buffer twice the size. Items are added as they are listed, then sorted by name
// and looked up by index or, once sorted, by name.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cFolderListing.h"

class cFolderItems {
 public:
  void Add(const cFolderListing::Item& item);
  // Same as Add, under another name (a folded one, say).
  void Add(std::wstring_view name, const cFolderListing::Item& item);
  // Keeps only the items `keep` answers true for, in their order.
  void Keep(const std::function<bool(std::size_t)>& keep);
  // In name order; items of one name keep their order.
  void Sort();
  // The first item named `name`, once sorted; nothing when there is none.
  std::optional<std::size_t> Find(std::wstring_view name) const;

  std::size_t Size() const noexcept { return m_Records.size(); }
  std::wstring_view Name(std::size_t i) const;
  std::uint32_t Attributes(std::size_t i) const { return m_Records[i].attributes; }
  std::uint32_t ReparseTag(std::size_t i) const { return m_Records[i].reparseTag; }
  std::int64_t Bytes(std::size_t i) const { return m_Records[i].bytes; }
  std::uint64_t Written(std::size_t i) const { return m_Records[i].written; }
  bool IsFolder(std::size_t i) const { return (Attributes(i) & cFolderListing::kDirectory) != 0; }

 private:
  struct Record {
    std::int64_t bytes;
    std::uint64_t written;
    std::uint32_t nameBlock;  // in m_Names
    std::uint16_t nameAt;
    std::uint16_t nameLength;
    std::uint32_t attributes;
    std::uint32_t reparseTag;
  };

  std::wstring_view NameOf(const Record& record) const;

  std::deque<Record> m_Records;
  std::vector<std::wstring> m_Names;  // blocks, each filled up to its capacity and no further
};
