#include <gtest/gtest.h>

#include "mFileHlp.h"

namespace {

struct PathCase {
  const wchar_t* path;
  const wchar_t* fileName;
  const wchar_t* withBackslash;
};

const PathCase kCases[] = {
    {L"", L"", L"\\"},
    {L"C:\\Data\\report.doc", L"report.doc", L"C:\\Data\\report.doc\\"},
    {L"report.doc", L"report.doc", L"report.doc\\"},
    {L"C:\\Data\\", L"", L"C:\\Data\\"},
    {L"C:\\", L"", L"C:\\"},
    {L"C:", L"C:", L"C:\\"},
    {L"C:report.doc", L"C:report.doc", L"C:report.doc\\"},
    {L"\\", L"", L"\\"},
    {L"D:\\Backup", L"Backup", L"D:\\Backup\\"},
    {L"\\\\server\\share\\a.txt", L"a.txt", L"\\\\server\\share\\a.txt\\"},
    {L"C:\\Data\\\\a.txt", L"a.txt", L"C:\\Data\\\\a.txt\\"},
    {L"C:/Data/a.txt", L"C:/Data/a.txt", L"C:/Data/a.txt\\"},
    {L"C:\\Data\\\\", L"", L"C:\\Data\\\\"},
    {L"E:\\照片\\假期 2024.jpg", L"假期 2024.jpg", L"E:\\照片\\假期 2024.jpg\\"},
};

TEST(mFileHlp, SplitsAndTerminatesPathsAtBackslashesOnly) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "path #" << (&c - kCases));
    const std::wstring path = c.path;
    EXPECT_EQ(mFileHlp::GetFileName(path), c.fileName);
    EXPECT_EQ(mFileHlp::AddBackslash(path), c.withBackslash);
    EXPECT_EQ(path, c.path) << "argument must stay unchanged";
  }
}

TEST(mFileHlp, BuildsDestinationsFromFolderAndSource) {
  const std::wstring source = L"E:\\photos\\a.jpg";
  auto destination = [&](const std::wstring& folder) {
    return mFileHlp::AddBackslash(folder) + mFileHlp::GetFileName(source);
  };
  EXPECT_EQ(destination(L"D:\\Backup"), L"D:\\Backup\\a.jpg");
  EXPECT_EQ(destination(L"D:\\"), L"D:\\a.jpg");
  EXPECT_EQ(destination(L""), L"\\a.jpg");
}

TEST(mFileHlp, HandlesPathsBeyondSixteenBitLengths) {
  std::wstring deep;
  while (deep.size() < 40000) deep += L"\\folder";
  EXPECT_EQ(mFileHlp::GetFileName(deep + L"\\name.txt"), L"name.txt");
  EXPECT_EQ(mFileHlp::GetFileName(std::wstring(40000, L'x')).size(), 40000u);
}

}  // namespace
