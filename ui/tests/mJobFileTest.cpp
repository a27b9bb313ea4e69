#include <gtest/gtest.h>

#include <map>

#include "mJobFile.h"

namespace {

// Volumes as a table: serial -> the root it is mounted at now.
mJobFile::Volumes Mounted(std::map<std::uint32_t, std::wstring> mounted) {
  return {[mounted](const std::wstring& path) -> std::wstring {
            for (const auto& [serial, root] : mounted)
              if (path.compare(0, root.size(), root) == 0) return root;
            return {};
          },
          [mounted](const std::wstring& root) -> std::optional<std::uint32_t> {
            for (const auto& [serial, at] : mounted)
              if (at == root) return serial;
            return std::nullopt;
          },
          [mounted](std::uint32_t serial) -> std::optional<std::wstring> {
            const auto place = mounted.find(serial);
            if (place == mounted.end()) return std::nullopt;
            return place->second;
          }};
}

const mJobFile::Job kJob{L"D:\\备份\\",
                         {{L"E:\\照片\\a.jpg", L"a.jpg"},
                          {L"E:\\文档\\", L"文档"},
                          {L"F:\\a.jpg", L"a (2).jpg"},
                          {L"\\\\server\\share\\b.txt", L"b.txt"},
                          {L"E:\\", L"U盘"}}};

TEST(mJobFile, WhatIsWrittenReadsBackAsTheSameJob) {
  const auto volumes = Mounted({{0x1234ABCD, L"E:\\"}, {7, L"D:\\"}, {0xFFFFFFFF, L"F:\\"}});
  const std::string text = mJobFile::Format(kJob, volumes);
  EXPECT_EQ(mJobFile::Parse(text, volumes), kJob);
  EXPECT_NE(text.find("\"volume\": 305441741"), std::string::npos) << text;
  EXPECT_NE(text.find("\xE7\x85\xA7\xE7\x89\x87"), std::string::npos) << "照片 as UTF-8";
  const mJobFile::Job empty;
  EXPECT_EQ(mJobFile::Parse(mJobFile::Format(empty, volumes), volumes), empty);
}

TEST(mJobFile, AStickUnderAnotherLetterBringsItsEntriesAndAnAbsentOneKeepsItsLastLetter) {
  const std::string text = mJobFile::Format(kJob, Mounted({{0x1234ABCD, L"E:\\"}, {7, L"D:\\"}, {9, L"F:\\"}}));
  const mJobFile::Job later = mJobFile::Parse(text, Mounted({{0x1234ABCD, L"G:\\"}, {7, L"D:\\"}, {3, L"E:\\"}}));
  const std::vector<std::wstring> expected = {L"G:\\照片\\a.jpg", L"G:\\文档\\", L"F:\\a.jpg", L"\\\\server\\share\\b.txt", L"G:\\"};
  ASSERT_EQ(later.entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(later.entries[i].source, expected[i]) << i;
    EXPECT_EQ(later.entries[i].name, kJob.entries[i].name) << i;
  }
  EXPECT_EQ(later.destination, L"D:\\备份\\");
}

TEST(mJobFile, AnythingButAWholeJobFileIsCorrupt) {
  const auto volumes = Mounted({{1, L"E:\\"}});
  const std::string good = mJobFile::Format(kJob, volumes);
  const struct {
    const char* name;
    std::string text;
  } rows[] = {
      {"empty", ""},
      {"cut short", good.substr(0, good.size() / 2)},
      {"not JSON", "destination=D:\\"},
      {"another format", R"({"format":2,"destination":{"path":""},"entries":[]})"},
      {"no format", R"({"destination":{"path":""},"entries":[]})"},
      {"a list", "[]"},
      {"entries not a list", R"({"format":1,"destination":{"path":""},"entries":{}})"},
      {"an entry without a name", R"({"format":1,"destination":{"path":""},"entries":[{"path":"E:\\a"}]})"},
      {"an entry with an empty path", R"({"format":1,"destination":{"path":""},"entries":[{"path":"","name":"a"}]})"},
      {"a path that is a number", R"({"format":1,"destination":{"path":5},"entries":[]})"},
      {"a negative serial", R"({"format":1,"destination":{"path":""},"entries":[{"volume":-1,"root":"E:\\","path":"a","name":"a"}]})"},
      {"a serial beyond 32 bits", R"({"format":1,"destination":{"path":""},"entries":[{"volume":4294967296,"root":"E:\\","path":"a","name":"a"}]})"},
      {"a serial without its root", R"({"format":1,"destination":{"path":""},"entries":[{"volume":9,"path":"a","name":"a"}]})"},
      {"not UTF-8", "{\"format\":1,\"destination\":{\"path\":\"\xC3\x28\"},\"entries\":[]}"},
  };
  for (const auto& row : rows) EXPECT_THROW(mJobFile::Parse(row.text, volumes), mJobFile::Corrupt) << row.name;
}

}  // namespace
