#include <gtest/gtest.h>

#include <algorithm>

#include "cTestDir.h"
#include "mLeftovers.h"

#ifdef _WIN32
#include <windows.h>
std::uint32_t ThisProcess() { return GetCurrentProcessId(); }
#else
#include <unistd.h>
std::uint32_t ThisProcess() { return static_cast<std::uint32_t>(::getpid()); }
#endif

namespace {

// Above any process id either platform hands out.
constexpr std::uint32_t kEndedProcess = 0x7FFFFFFC;

TEST(mLeftovers, OnlyTheProgramsOwnTemporaryNamesHaveAnOwner) {
  struct Row {
    const wchar_t* name;
    std::optional<std::uint32_t> owner;
  };
  const Row rows[] = {
      {L"~omb1234-0.tmp", 1234u},
      {L"~omb4294967295-17.tmp", 4294967295u},
      {L"~omb4294967296-1.tmp", std::nullopt},  // beyond 32 bits
      {L"~omb12-.tmp", std::nullopt},
      {L"~omb-3.tmp", std::nullopt},
      {L"~omb12x-3.tmp", std::nullopt},
      {L"~omb12-3.tmp.bak", std::nullopt},
      {L"~OMB12-3.TMP", std::nullopt},  // the program writes these names in this case only
      {L"x~omb12-3.tmp", std::nullopt},
      {L"~omb.tmp", std::nullopt},
      {L"report.doc", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(mLeftovers::OwnerOf(row.name), row.owner) << testing::PrintToString(std::wstring(row.name));
  EXPECT_EQ(mLeftovers::OwnerOf(mLeftovers::TemporaryName(77, 5)), 77u) << "names it makes, it recognises";
}

TEST(mLeftovers, RemovesOnlyTheTemporaryFilesOfEndedProcesses) {
  cTestDir dir;
  const std::wstring ended = mLeftovers::TemporaryName(kEndedProcess, 3);
  const std::wstring mine = mLeftovers::TemporaryName(ThisProcess(), 3);
  const std::vector<std::wstring> kept = {mine, L"~omb12x-3.tmp", L"report.doc", L"~omb.tmp"};
  for (const auto& name : kept) dir.Write(name, Pattern(10));
  dir.Write(ended, Pattern(10));
  // Left by a copy of a read-only source that ended just before its rename.
  const std::wstring endedReadOnly = mLeftovers::TemporaryName(kEndedProcess, 4);
  dir.Write(endedReadOnly, Pattern(10));
  std::filesystem::permissions(FsPath(dir.Path(endedReadOnly)), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);

  EXPECT_EQ(mLeftovers::RemoveIn(dir.Root()), 2);
  auto names = dir.Names();
  std::sort(names.begin(), names.end());
  auto expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(mLeftovers::RemoveIn(dir.Path(L"missing folder")), 0) << "a folder that is not there holds none";
}

}  // namespace
