// Reading back the dialogs' buffers: the examples of the open dialog's documentation and
// selections generated the way the platform writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mDialogResult.h"

namespace {

// A literal with embedded NULs, without its terminating one.
template <std::size_t N>
std::wstring Nuls(const wchar_t (&text)[N]) {
  return std::wstring(text, N - 1);
}

using mDialogResult::ParseBrowseResult;
using mDialogResult::ParseOpenResult;
using mDialogResult::ParseSaveResult;

// A buffer of `size` characters starting with `content`, NULs after it.
std::wstring Buffer(std::wstring_view content, std::size_t size = 260) {
  std::wstring buffer(content);
  buffer.resize(std::max(size, buffer.size()), L'\0');
  return buffer;
}

// What an explorer-style dialog leaves for a confirmed selection: one file as its full path,
// several as the folder and then each name, each NUL-terminated, and one more NUL.
std::wstring PlatformSelection(const std::wstring& folder, const std::vector<std::wstring>& names) {
  std::wstring out;
  if (names.size() == 1) {
    out = folder + (folder.back() == L'\\' ? L"" : L"\\") + names[0];
    out += L'\0';
  } else {
    out = folder + L'\0';
    for (const auto& name : names) out += name + L'\0';
  }
  out += L'\0';
  return out;
}

TEST(ParseOpenResult, SplitsTheDocumentedTwoFileExample) {
  const auto selection = ParseOpenResult(Buffer(Nuls(L"D:\\data\0a.txt\0b.txt\0\0")), true);
  EXPECT_EQ(selection.FileName, L"D:\\data\\");
  EXPECT_EQ(selection.FileNames,
            (std::vector<std::wstring>{L"D:\\data\\a.txt", L"D:\\data\\b.txt"}));
}

TEST(ParseOpenResult, GeneratedSelectionsGiveFullPathsInTheDialogsOrder) {
  const std::wstring folders[] = {L"C:\\",        L"D:\\data",
                                  L"D:\\data\\",  L"\\\\server\\share\\dir",
                                  L"E:\\备份 源", L"F:\\a b\\c d"};
  const std::vector<std::wstring> names = {
      L"a.txt", L"报告 1.doc", L"name with spaces", L"z", L"données.bin", L"テスト.txt", L"b.txt"};
  for (const auto& folder : folders) {
    for (std::size_t count = 1; count <= names.size(); ++count) {
      const std::vector<std::wstring> picked(names.begin(),
                                             names.begin() + static_cast<std::ptrdiff_t>(count));
      const std::wstring withSlash = folder.back() == L'\\' ? folder : folder + L'\\';
      std::vector<std::wstring> expected;
      for (const auto& name : picked) expected.push_back(withSlash + name);

      const auto selection = ParseOpenResult(Buffer(PlatformSelection(folder, picked), 1000), true);
      SCOPED_TRACE(testing::Message()
                   << "folder #" << (&folder - folders) << ", " << count << " file(s)");
      EXPECT_EQ(selection.FileNames, expected);
      EXPECT_EQ(selection.FileName, count == 1 ? expected[0] : withSlash);
    }
  }
}

TEST(ParseOpenResult, ManyFilesKeepTheirOrder) {
  std::vector<std::wstring> names;
  for (int i = 0; i < 500; ++i) names.push_back(L"file " + std::to_wstring(i) + L".dat");
  const auto selection = ParseOpenResult(Buffer(PlatformSelection(L"C:\\x", names), 8000), true);
  ASSERT_EQ(selection.FileNames.size(), 500u);
  EXPECT_EQ(selection.FileNames.front(), L"C:\\x\\file 0.dat");
  EXPECT_EQ(selection.FileNames.back(), L"C:\\x\\file 499.dat");
}

TEST(ParseOpenResult, StopsAtTheFirstDoubleNul) {
  // Leftovers of an earlier, longer list behind the terminator are not files.
  const auto selection = ParseOpenResult(Nuls(L"C:\\d\0a\0b\0\0old\0stale\0\0"), true);
  EXPECT_EQ(selection.FileNames, (std::vector<std::wstring>{L"C:\\d\\a", L"C:\\d\\b"}));
}

TEST(ParseOpenResult, OnlyANulSeparatedListIsSplit) {
  struct Case {
    const char* name;
    std::wstring buffer;
    bool multiSelection;
    std::wstring fileName;
  };
  const Case cases[] = {
      {"list read with multi-selection off", Buffer(Nuls(L"D:\\data\0a.txt\0b.txt\0\0")), false,
       L"D:\\data"},
      {"blank-separated names stay one name", Buffer(L"D:\\data\\a.txt b.txt"), true,
       L"D:\\data\\a.txt b.txt"},
      {"buffer filled to its end without a NUL", std::wstring(260, L'x'), true,
       std::wstring(260, L'x')},
      {"same, single-name parsing", std::wstring(260, L'y'), false, std::wstring(260, L'y')},
  };
  for (const auto& c : cases) {
    const auto selection = ParseOpenResult(c.buffer, c.multiSelection);
    EXPECT_EQ(selection.FileName, c.fileName) << c.name;
    EXPECT_EQ(selection.FileNames, std::vector<std::wstring>{c.fileName}) << c.name;
  }
}

TEST(ParseOpenResult, AnEmptyBufferIsNoFile) {
  // Rather than taking 260 NULs for a name, an empty result names nothing.
  for (bool multiSelection : {false, true}) {
    const auto selection = ParseOpenResult(Buffer(L""), multiSelection);
    EXPECT_EQ(selection.FileName, L"") << multiSelection;
    EXPECT_TRUE(selection.FileNames.empty()) << multiSelection;
  }
}

TEST(ParseSaveResult, TakesOneNameAndNeverSplits) {
  EXPECT_EQ(ParseSaveResult(Buffer(L"C:\\out\\备份 1.txt")), L"C:\\out\\备份 1.txt");
  EXPECT_EQ(ParseSaveResult(Buffer(Nuls(L"D:\\data\0a.txt\0\0"))), L"D:\\data");
  EXPECT_EQ(ParseSaveResult(std::wstring(300, L'n')), std::wstring(300, L'n'));
  EXPECT_EQ(ParseSaveResult(Buffer(L"")), L"");
}

TEST(ParseBrowseResult, ReturnsThePathAsThePlatformWroteIt) {
  auto blanks = [](std::wstring text) {
    text += L'\0';
    text.resize(260, L' ');
    return text;
  };
  struct Case {
    const char* name;
    std::wstring buffer;
    std::wstring expected;
  };
  const Case cases[] = {
      {"folder", blanks(L"C:\\备份\\目标"), L"C:\\备份\\目标"},
      {"drive root keeps its backslash", blanks(L"C:\\"), L"C:\\"},
      {"folder with a trailing backslash keeps it", blanks(L"D:\\x\\"), L"D:\\x\\"},
      {"file", blanks(L"D:\\x\\a b.txt"), L"D:\\x\\a b.txt"},
      {"platform cleared the buffer", blanks(L""), L""},
      {"platform wrote nothing", std::wstring(260, L' '), std::wstring(260, L' ')},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseBrowseResult(c.buffer), c.expected) << c.name;
}

}  // namespace
