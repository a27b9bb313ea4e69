#include <gtest/gtest.h>

#include "mJobFile.h"

namespace {

using Volume = mSourceVolume::Volume;

const mJobFile::Job kJob{L"D:\\备份\\",
                         {{L"E:\\照片\\a.jpg", L"a.jpg", Volume{0x1234ABCD, L"E:\\", L"照片盘"}},
                          {L"E:\\文档\\", L"文档", Volume{0x1234ABCD, L"E:\\", L"照片盘"}},
                          {L"F:\\a.jpg", L"a (2).jpg", Volume{0xFFFFFFFF, L"F:\\", L""}},
                          {L"\\\\server\\share\\b.txt", L"b.txt", std::nullopt},
                          {L"E:\\", L"U盘", Volume{0x1234ABCD, L"E:\\", L"照片盘"}}}};

TEST(mJobFile, WhatIsWrittenReadsBackAsTheSameJob) {
  const std::string text = mJobFile::Format(kJob);
  EXPECT_EQ(mJobFile::Parse(text), kJob);
  EXPECT_NE(text.find("\"volume\": 305441741"), std::string::npos) << text;
  EXPECT_NE(text.find("\xE7\x85\xA7\xE7\x89\x87"), std::string::npos) << "照片 as UTF-8";
  const mJobFile::Job empty;
  EXPECT_EQ(mJobFile::Parse(mJobFile::Format(empty)), empty);
}

// The first format kept no label, and followed the destination's volume too: its entries keep
// their volumes, and the destination is the folder at its last letter.
TEST(mJobFile, AFileOfTheFirstFormatKeepsItsEntriesVolumes) {
  const auto job = mJobFile::Parse(R"({"format":1,"destination":{"volume":7,"root":"D:\\","path":"备份"},
    "entries":[{"volume":9,"root":"E:\\","path":"a.txt","name":"a.txt"},{"path":"C:\\b.txt","name":"b.txt"}]})");
  EXPECT_EQ(job.destination, L"D:\\备份");
  ASSERT_EQ(job.entries.size(), 2u);
  EXPECT_EQ(job.entries[0], (mJobFile::Entry{L"E:\\a.txt", L"a.txt", Volume{9, L"E:\\", L""}}));
  EXPECT_EQ(job.entries[1], (mJobFile::Entry{L"C:\\b.txt", L"b.txt", std::nullopt}));
}

TEST(mJobFile, AnythingButAWholeJobFileIsCorrupt) {
  const std::string good = mJobFile::Format(kJob);
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
  for (const auto& row : rows) EXPECT_THROW(mJobFile::Parse(row.text), mJobFile::Corrupt) << row.name;
}

}  // namespace
