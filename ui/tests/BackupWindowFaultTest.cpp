// The real program meeting faults in a backup run, driven from outside. Every case checks what
// the user relies on: an earlier backup in the destination survives byte for byte, no temporary
// file ("~omb*.tmp") stays behind, only the entries that were copied carry the mark, and the
// message the run ends with names each failed file with its reason in Chinese.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <regex>
#include <stdexcept>

#include "ControlIds.h"
#include "cAppDriver.h"
#include "cDestinationIndex.h"
#include "cTestDir.h"
#include "mFileTimes.h"
#include "mText.h"

namespace {

const std::wstring kMark = L"\u221A";
constexpr std::size_t kChunk = 0x400000;  // the program's chunk size

// The form the file functions take beyond MAX_PATH characters.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }
std::wstring Join(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }
std::string Utf8(const std::wstring& text) { return mText::ToUtf8(text); }

[[noreturn]] void Fail(const char* what, const std::wstring& path) {
  throw std::runtime_error(std::string(what) + " " + Utf8(path) + ": error " + std::to_string(GetLastError()));
}

void MakeFolder(const std::wstring& path) {
  if (!CreateDirectoryW(Extended(path).c_str(), nullptr)) Fail("cannot create folder", path);
}

class cHandle {
 public:
  explicit cHandle(HANDLE handle) : m_Handle(handle) {}
  ~cHandle() {
    if (m_Handle != INVALID_HANDLE_VALUE && m_Handle != nullptr) CloseHandle(m_Handle);
  }
  cHandle(const cHandle&) = delete;
  cHandle& operator=(const cHandle&) = delete;
  bool IsOpen() const { return m_Handle != INVALID_HANDLE_VALUE && m_Handle != nullptr; }
  HANDLE Get() const { return m_Handle; }

 private:
  HANDLE m_Handle;
};

void WriteBytes(const std::wstring& path, const Bytes& data) {
  cHandle file(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) Fail("cannot create", path);
  DWORD written = 0;
  if (!data.empty() && (!WriteFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
                        written != data.size()))
    Fail("cannot write", path);
}

Bytes ReadBytes(const std::wstring& path) {
  cHandle file(CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) Fail("cannot open", path);
  LARGE_INTEGER size{};
  GetFileSizeEx(file.Get(), &size);
  Bytes data(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!data.empty() && (!ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr) || got != data.size()))
    Fail("cannot read", path);
  return data;
}

// A file's bytes against the expected ones, told briefly: where they part, not all of them.
testing::AssertionResult Holds(const std::wstring& path, const Bytes& expected) {
  Bytes actual;
  try {
    actual = ReadBytes(path);
  } catch (const std::exception& error) {
    return testing::AssertionFailure() << error.what();
  }
  if (actual == expected) return testing::AssertionSuccess();
  const auto parted = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  return testing::AssertionFailure() << Utf8(path) << " holds " << actual.size() << " bytes, expected "
                                     << expected.size() << "; they differ from byte " << (parted.first - actual.begin());
}

// The names in a folder with their sizes, sorted by name.
std::map<std::wstring, std::uint64_t> FilesIn(const std::wstring& folder) {
  std::map<std::wstring, std::uint64_t> files;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Extended(Join(folder, L"*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    const std::wstring name = found.cFileName;
    // What the destination remembers of its backups' sources is no backup.
    if (name != L"." && name != L".." && name != cDestinationIndex::kFileName)
      files[name] = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& file : FilesIn(folder)) names.push_back(file.first);
  return names;
}

// What the engine leaves behind when a copy is not cleaned up.
std::vector<std::wstring> TemporaryFilesIn(const std::wstring& folder) {
  std::vector<std::wstring> temporaries;
  for (const auto& name : NamesIn(folder))
    if (name.rfind(L"~omb", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == L".tmp")
      temporaries.push_back(name);
  return temporaries;
}

// A file this process keeps open while the program runs: another program, as the program sees it.
class cHeldOpen {
 public:
  cHeldOpen(const std::wstring& path, DWORD share)
      : m_File(CreateFileW(Extended(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!m_File.IsOpen()) Fail("cannot hold open", path);
  }

 private:
  cHandle m_File;
};

// Takes the read-only attribute off again, so that the folder can be removed.
class cReadOnlyFile {
 public:
  explicit cReadOnlyFile(std::wstring path) : m_Path(std::move(path)) {
    if (!SetFileAttributesW(Extended(m_Path).c_str(), FILE_ATTRIBUTE_READONLY)) Fail("cannot protect", m_Path);
  }
  ~cReadOnlyFile() { SetFileAttributesW(Extended(m_Path).c_str(), FILE_ATTRIBUTE_NORMAL); }
  cReadOnlyFile(const cReadOnlyFile&) = delete;
  cReadOnlyFile& operator=(const cReadOnlyFile&) = delete;

 private:
  std::wstring m_Path;
};

// Removes a folder with everything in it, at any depth: the C library's removal stops at
// MAX_PATH characters.
void RemoveTree(const std::wstring& folder) {
  for (const auto& name : NamesIn(folder)) {
    const std::wstring path = Join(folder, name);
    const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      RemoveTree(path);
    } else {
      SetFileAttributesW(Extended(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Extended(path).c_str());
    }
  }
  RemoveDirectoryW(Extended(folder).c_str());
}

// Removes a folder we made, whatever happens: on a file system that other tests use too, or
// too deep for the test folder's own clean-up.
class cRemoveOnExit {
 public:
  explicit cRemoveOnExit(std::wstring folder) : m_Folder(std::move(folder)) {}
  ~cRemoveOnExit() { RemoveTree(m_Folder); }
  cRemoveOnExit(const cRemoveOnExit&) = delete;
  cRemoveOnExit& operator=(const cRemoveOnExit&) = delete;

 private:
  std::wstring m_Folder;
};

// The reason a run's message gives for a source: the line after the one naming it.
std::wstring ReasonFor(const std::wstring& message, const std::wstring& source) {
  const std::wstring key = L"\n" + source + L"\n";
  const auto at = message.find(key);
  if (at == std::wstring::npos) return L"";
  auto start = message.find_first_not_of(L' ', at + key.size());
  if (start == std::wstring::npos) return L"";
  return message.substr(start, message.find(L'\n', start) - start);
}

struct Failed {
  std::wstring source;                // the entry as listed
  std::vector<std::wstring> reasons;  // its reason contains one of these
};

class BackupWindowFaultTest : public testing::Test {
 protected:
  BackupWindowFaultTest() {
    MakeFolder(src);
    MakeFolder(dest);
  }

  std::wstring Source(const std::wstring& name) const { return Join(src, name); }
  std::wstring Dest(const std::wstring& name) const { return Join(dest, name); }

  // An older version of a file, put into a destination folder before the run.
  Bytes PlantOlder(const std::wstring& folder, const std::wstring& name) {
    const Bytes older = Pattern(500 + m_Seed, 100 + m_Seed);
    ++m_Seed;
    WriteBytes(Join(folder, name), older);
    return older;
  }


  // The message of a run with failures (the wait matched its caption "工程1"): an error icon, the
  // count, and each failed entry followed by a reason that names its fault.
  void ExpectFailureMessage(HWND box, const std::vector<Failed>& failed) {
    EXPECT_EQ(app.Text(box), L"工程1");
    EXPECT_TRUE(app.MessageIcon(box) == IDI_ERROR) << "the message shows the error icon";
    const std::wstring text = app.MessageText(box);
    EXPECT_NE(text.find(L"有 " + std::to_wstring(failed.size()) + L" 个文件未能备份"), std::wstring::npos) << Utf8(text);
    for (const auto& failure : failed) {
      const std::wstring reason = ReasonFor(text, failure.source);
      const bool named = std::any_of(failure.reasons.begin(), failure.reasons.end(),
                                     [&](const std::wstring& r) { return reason.find(r) != std::wstring::npos; });
      EXPECT_TRUE(named) << Utf8(failure.source) << ": the reason reads \"" << Utf8(reason) << "\", expected \""
                         << Utf8(failure.reasons.front()) << "\"\nThe whole message:\n" << Utf8(text);
    }
  }

  void ExpectFinished(HWND box) {
    EXPECT_EQ(app.MessageText(box), L"完成备份！");
    EXPECT_TRUE(app.MessageIcon(box) == nullptr) << "success shows no icon";
  }

  // The list after a run: the entries copied carry the mark, the others read as they were added.
  void ExpectList(const std::vector<std::pair<std::wstring, bool>>& entries) {
    std::vector<std::wstring> expected;
    for (const auto& [source, copied] : entries) expected.push_back(copied ? kMark + source : source);
    EXPECT_EQ(app.ListEntries(), expected);
  }

  // A run of a small file, a large one whose older backup is in the destination, and another
  // small one, picked in the open dialog; returns once the large one is halfway through its copy.
  struct LargeRun {
    Bytes older;
    Bytes large;
  };
  LargeRun StartLargeRun(cAppDriver& driver) {
    LargeRun run{PlantOlder(dest, L"large.bin"), Pattern(256 << 20, 7)};
    WriteBytes(Source(L"large.bin"), run.large);
    for (const wchar_t* name : {L"a.txt", L"c.txt"}) WriteBytes(Source(name), Pattern(100, 8));
    driver.Click(IDC_COMMAND2);
    driver.PickFiles(src, {L"a.txt", L"large.bin", L"c.txt"});
    driver.SetText(IDC_TEXT1, dest);
    driver.Click(IDC_COMMAND3);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!(driver.BarMax() == static_cast<int>(run.large.size()) && driver.BarPosition() > 0 &&
             driver.BarPosition() < driver.BarMax())) {
      if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("the large file's copy was not seen");
      Sleep(5);
    }
    return run;
  }

  // After a stopped run: the large file's older backup as it was, no temporary file, the first
  // file alone marked, and one message that says so.
  void ExpectStopped(cAppDriver& driver, const LargeRun& run, HWND box) {
    EXPECT_EQ(driver.MessageText(box), L"备份已停止。已备份 1 个文件，未备份 2 个文件。");
    EXPECT_TRUE(Holds(Dest(L"large.bin"), run.older));
    EXPECT_EQ(NamesIn(dest), (std::vector<std::wstring>{L"a.txt", L"large.bin"}));
    EXPECT_EQ(driver.ListEntries(), (std::vector<std::wstring>{kMark + Source(L"a.txt"), Source(L"large.bin"),
                                                              Source(L"c.txt")}));
    EXPECT_EQ(driver.Text(driver.Control(IDC_COMMAND3)), L"开始");
  }

  cTestDir sources;
  cTestDir backup;
  const std::wstring src = sources.Path(L"src");
  const std::wstring dest = backup.Path(L"dest");
  cAppDriver app;

 private:
  std::uint32_t m_Seed = 1;
};

TEST_F(BackupWindowFaultTest, SourcesThatCannotBeReadFailAloneAndKeepTheirOldBackups) {
  const std::wstring sub = sources.Path(L"sub");
  MakeFolder(sub);
  const Bytes good = Pattern(3000, 1), locked = Pattern(2000, 2);
  WriteBytes(Source(L"gone.txt"), Pattern(1000, 3));
  WriteBytes(Source(L"good.txt"), good);
  WriteBytes(Source(L"locked.txt"), locked);
  WriteBytes(Join(sub, L"lost.txt"), Pattern(1000, 4));
  std::map<std::wstring, Bytes> older;
  for (const wchar_t* name : {L"gone.txt", L"good.txt", L"locked.txt", L"lost.txt"}) older[name] = PlantOlder(dest, name);

  // The dialog leaves the program's current folder in the last folder picked from, and a
  // program's current folder cannot be removed: sub is picked from first.
  app.Click(IDC_COMMAND2);
  app.PickFiles(sub, {L"lost.txt"});
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"gone.txt", L"good.txt", L"locked.txt"});
  app.SetText(IDC_TEXT1, dest);

  // Between the pick and the run: a file removed, a folder removed with its file, and a file
  // that another program holds open without sharing it. (A locked byte range would make reading
  // fail mid-copy on Windows; Wine does not enforce such locks on reads.)
  ASSERT_TRUE(DeleteFileW(Source(L"gone.txt").c_str()));
  RemoveTree(sub);
  ASSERT_EQ(GetFileAttributesW(sub.c_str()), INVALID_FILE_ATTRIBUTES);
  std::optional<cHeldOpen> holder(std::in_place, Source(L"locked.txt"), 0);

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-sources");
  ExpectFailureMessage(box, {{Source(L"gone.txt"), {L"系统找不到指定的文件"}},
                             {Source(L"locked.txt"), {L"另一个程序正在使用此文件"}},
                             {Join(sub, L"lost.txt"), {L"系统找不到指定的路径"}}});
  EXPECT_EQ(ReasonFor(app.MessageText(box), Source(L"good.txt")), L"");
  app.Acknowledge(box);
  ExpectList({{Join(sub, L"lost.txt"), false}, {Source(L"gone.txt"), false}, {Source(L"good.txt"), true},
              {Source(L"locked.txt"), false}});
  EXPECT_TRUE(Holds(Dest(L"good.txt"), good));
  for (const wchar_t* name : {L"gone.txt", L"locked.txt", L"lost.txt"})
    EXPECT_TRUE(Holds(Dest(name), older[name])) << Utf8(name) << ": the earlier backup is damaged";
  EXPECT_EQ(TemporaryFilesIn(dest), std::vector<std::wstring>{});
  EXPECT_EQ(NamesIn(dest).size(), 5u) << "the four, and the versions folder with good.txt's older backup";

  // Once the other program lets go, the next run copies that file and still reports the others.
  holder.reset();
  box = app.RunBackup();
  ExpectFailureMessage(box, {{Source(L"gone.txt"), {L"系统找不到指定的文件"}},
                             {Join(sub, L"lost.txt"), {L"系统找不到指定的路径"}}});
  EXPECT_EQ(ReasonFor(app.MessageText(box), Source(L"locked.txt")), L"");
  app.Acknowledge(box);
  ExpectList({{Join(sub, L"lost.txt"), false}, {Source(L"gone.txt"), false}, {Source(L"good.txt"), true},
              {Source(L"locked.txt"), true}});
  EXPECT_TRUE(Holds(Dest(L"locked.txt"), locked));
  EXPECT_TRUE(Holds(Dest(L"gone.txt"), older[L"gone.txt"]));
  EXPECT_EQ(TemporaryFilesIn(dest), std::vector<std::wstring>{});
}

// A source written to while it is copied (cut short, or rewritten in place at the same length, as
// a disk image or a mail store is) is copied again once it has changed: the backup holds the new
// bytes and bears the new time, never a mix of old and new.
TEST_F(BackupWindowFaultTest, ASourceWrittenToDuringItsCopyIsCopiedAgainWhole) {
  enum class Change { CutShort, Rewritten };
  for (const Change change : {Change::CutShort, Change::Rewritten}) {
    SCOPED_TRACE(change == Change::CutShort ? "cut short" : "rewritten");
    const std::wstring name = change == Change::CutShort ? L"cut.bin" : L"rewritten.bin";
    const std::size_t length = 32 * kChunk;  // long enough that a fast copy is still midway when it is held
    WriteBytes(Source(name), Pattern(length, 7));
    PlantOlder(dest, name);
    cAppDriver driver;
    driver.DropFiles({Source(name)});
    driver.SetText(IDC_TEXT1, dest);
    driver.Click(IDC_COMMAND3);
    // The bar moves only from inside the copy: the source has been measured and opened by then.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (driver.BarPosition() == 0 && std::chrono::steady_clock::now() < deadline) Settle(std::chrono::milliseconds(2));
    ASSERT_GT(driver.BarPosition(), 0) << "the copy did not start";

    // The program is held still while the source changes, so its copy cannot outrun the change;
    // GetThreadContext returns only once the thread has really stopped.
    cHandle thread(OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, driver.ThreadId()));
    ASSERT_TRUE(thread.IsOpen());
    ASSERT_NE(SuspendThread(thread.Get()), static_cast<DWORD>(-1));
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread.Get(), &context);
    const auto temporaries = TemporaryFilesIn(dest);
    const bool midway = temporaries.size() == 1 && FilesIn(dest).at(temporaries.front()) + 2 * kChunk <= length;
    Bytes now = Pattern(length, 7);
    if (midway && change == Change::CutShort) {
      now.resize(kChunk + 10);
      cHandle source(CreateFileW(Source(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      LARGE_INTEGER end{};
      end.QuadPart = static_cast<LONGLONG>(now.size());
      ASSERT_TRUE(source.IsOpen() && SetFilePointerEx(source.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(source.Get()));
    }
    if (midway && change == Change::Rewritten) {
      // In place, as the program holding it open lets another write it.
      now = Pattern(length, 9);
      cHandle source(CreateFileW(Source(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD written = 0;
      ASSERT_TRUE(source.IsOpen() && WriteFile(source.Get(), now.data(), static_cast<DWORD>(now.size()), &written, nullptr));
      mFileTimes::SetWriteTime(Source(name), mFileTimes::WriteTime(Source(name)) + 36000000000);
    }
    ResumeThread(thread.Get());
    ASSERT_TRUE(midway) << "the source could not be changed while chunks of it were still to be read";

    HWND box = driver.WaitForMessageBox();
    EXPECT_EQ(driver.MessageText(box), L"完成备份！");
    driver.Acknowledge(box);
    EXPECT_EQ(driver.ListEntries(), std::vector<std::wstring>{kMark + Source(name)});
    EXPECT_TRUE(Holds(Dest(name), now));
    EXPECT_EQ(mFileTimes::WriteTime(Dest(name)), mFileTimes::WriteTime(Source(name)));
    EXPECT_TRUE(TemporaryFilesIn(dest).empty());
  }
}

TEST_F(BackupWindowFaultTest, DestinationsThatCannotBeWrittenFailAndKeepTheOldBackups) {
  const std::vector<std::wstring> names = {L"busy.txt", L"good.txt", L"readonly.txt", L"viewed.txt"};
  std::map<std::wstring, Bytes> older;
  for (const auto& name : names) {
    WriteBytes(Source(name), Pattern(4000, static_cast<std::uint32_t>(name.size())));
    older[name] = PlantOlder(dest, name);
  }
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, names);
  app.SetText(IDC_TEXT1, dest);

  // A read-only backup; one another program holds without sharing; one another program only
  // reads, sharing reading and writing but not its replacement.
  cReadOnlyFile readOnly(Dest(L"readonly.txt"));
  std::optional<cHeldOpen> busy(std::in_place, Dest(L"busy.txt"), 0);
  std::optional<cHeldOpen> viewed(std::in_place, Dest(L"viewed.txt"), FILE_SHARE_READ | FILE_SHARE_WRITE);

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-destinations");
  ExpectFailureMessage(box, {{Source(L"busy.txt"), {L"另一个程序正在使用此文件"}},
                             {Source(L"readonly.txt"), {L"拒绝访问"}},
                             {Source(L"viewed.txt"), {L"无法替换目标文件"}}});
  app.Acknowledge(box);
  ExpectList({{Source(L"busy.txt"), false}, {Source(L"good.txt"), true}, {Source(L"readonly.txt"), false},
              {Source(L"viewed.txt"), false}});
  busy.reset();
  viewed.reset();
  EXPECT_TRUE(Holds(Dest(L"good.txt"), ReadBytes(Source(L"good.txt"))));
  for (const wchar_t* name : {L"busy.txt", L"readonly.txt", L"viewed.txt"})
    EXPECT_TRUE(Holds(Dest(name), older[name])) << Utf8(name) << ": the earlier backup is damaged";
  EXPECT_EQ(TemporaryFilesIn(dest), std::vector<std::wstring>{});
  std::vector<std::wstring> kept = {L"_版本"};  // good.txt's older backup
  kept.insert(kept.end(), names.begin(), names.end());
  EXPECT_EQ(NamesIn(dest), kept);

  // Not a folder name at all: every entry left fails with the system's reason, and nothing is
  // created anywhere.
  for (const std::wstring& bad : {Join(dest, L"bad|name"), Join(dest, L"what?"), Join(dest, L"<new>")}) {
    SCOPED_TRACE(Utf8(bad));
    app.SetText(IDC_TEXT1, bad);
    box = app.RunBackup();
    const std::vector<std::wstring> invalid = {L"文件名、目录名或卷标语法不正确"};
    ExpectFailureMessage(box, {{Source(L"busy.txt"), invalid}, {Source(L"readonly.txt"), invalid},
                               {Source(L"viewed.txt"), invalid}});
    app.Acknowledge(box);
    EXPECT_EQ(NamesIn(dest), kept);
    EXPECT_EQ(NamesIn(backup.Root()), std::vector<std::wstring>{L"dest"});
  }
  ExpectList({{Source(L"busy.txt"), false}, {Source(L"good.txt"), true}, {Source(L"readonly.txt"), false},
              {Source(L"viewed.txt"), false}});
}

// A run that does not fit the destination says so, with both figures, before it copies anything:
// neither the file that fits nor the one that does not is copied, and the older backup stays. (A
// disk that fills up during the run, after this check, is the run's own test.)
TEST_F(BackupWindowFaultTest, ARunThatDoesNotFitCopiesNothingAndSaysWhatItNeeds) {
  cTestDir tiny("OMB_TEST_TINY_DIR");
  if (!tiny.Valid()) GTEST_SKIP() << "OMB_TEST_TINY_DIR (a small mounted file system) is not set";
  // A folder of our own on the shared file system, removed whatever happens.
  const std::wstring full = tiny.Path(L"ui-faults");
  MakeFolder(full);
  cRemoveOnExit cleanup(full);
  const Bytes older = PlantOlder(full, L"big.bin");
  WriteBytes(Source(L"big.bin"), Pattern(1 << 20, 9));  // four times the file system
  WriteBytes(Source(L"small.txt"), Pattern(2000, 10));
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"big.bin", L"small.txt"});
  app.SetText(IDC_TEXT1, full);

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-no-room");
  const std::wstring text = app.MessageText(box);
  EXPECT_TRUE(std::regex_match(text, std::wregex(LR"(目标磁盘空间不足：需要 1\.0 MB，可用 \d+\.\d KB。没有复制任何文件。)")))
      << Utf8(text);
  EXPECT_TRUE(app.MessageIcon(box) == IDI_ERROR);
  app.Acknowledge(box);
  ExpectList({{Source(L"big.bin"), false}, {Source(L"small.txt"), false}});
  EXPECT_TRUE(Holds(Join(full, L"big.bin"), older));
  EXPECT_EQ(NamesIn(full), (std::vector<std::wstring>{L"big.bin"}));
}

TEST_F(BackupWindowFaultTest, ReadOnlyFolderFailsAndStaysAsItWas) {
  cTestDir readOnly("OMB_TEST_READONLY_DIR");
  if (!readOnly.Valid()) GTEST_SKIP() << "OMB_TEST_READONLY_DIR (a read-only file system) is not set";
  // Mounted read-only and empty: there is no earlier backup to keep, only nothing to leave.
  const auto before = NamesIn(readOnly.Root());
  WriteBytes(Source(L"a.txt"), Pattern(100, 11));
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"a.txt"});
  app.SetText(IDC_TEXT1, readOnly.Root());

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-read-only-folder");
  ExpectFailureMessage(box, {{Source(L"a.txt"), {L"拒绝访问", L"介质受写入保护"}}});
  app.Acknowledge(box);
  ExpectList({{Source(L"a.txt"), false}});
  EXPECT_EQ(NamesIn(readOnly.Root()), before);
}

TEST_F(BackupWindowFaultTest, NamesOutsideTheChineseCodePageAreCopiedByteForByte) {
  // Emoji, Hangul and "ö", "ß" have no form in code page 936; the kana do, but are not Chinese.
  const std::vector<std::wstring> names = {L"a  b  (空格).txt", L"emoji 😀 备份.txt", L"テスト ファイル.txt",
                                           L"한국어 Größe.bin"};
  std::map<std::wstring, Bytes> fresh;
  std::uint32_t seed = 20;
  for (const auto& name : names) {
    fresh[name] = Pattern(1000 + seed, seed);
    ++seed;
    WriteBytes(Source(name), fresh[name]);
  }
  const std::wstring target = backup.Path(L"目标 😀 フォルダ");
  MakeFolder(target);
  PlantOlder(target, names[1]);
  PlantOlder(target, names[3]);
  // Typed into the open dialog's name box, as a user would paste them.
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, names);
  app.SetText(IDC_TEXT1, target);

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-names");
  ExpectFinished(box);
  app.Acknowledge(box);
  std::vector<std::pair<std::wstring, bool>> all;
  for (const auto& name : names) all.emplace_back(Source(name), true);
  ExpectList(all);
  std::vector<std::wstring> sorted = names;
  sorted.push_back(L"_版本");  // the two older backups
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(NamesIn(target), sorted) << "each name kept exactly, no temporary file";
  for (const auto& name : names) EXPECT_TRUE(Holds(Join(target, name), fresh[name])) << Utf8(name);
}

TEST_F(BackupWindowFaultTest, PathsBeyondMaxPathAreCopiedAndListed) {
  std::wstring deepSource = src, deepTarget = backup.Root();
  // The test folders' own clean-up cannot reach this deep.
  std::optional<cRemoveOnExit> sourceTree, targetTree;
  for (int level = 1; level <= 6; ++level) {  // beyond MAX_PATH whatever the temp folder's name
    const std::wstring part = L"\\深层目录 level " + std::to_wstring(level) + L" abcdefghijklmnopqrstuvwxyz0123456789";
    deepSource += part;
    deepTarget += part;
    MakeFolder(deepSource);
    MakeFolder(deepTarget);
    if (level == 1) {
      sourceTree.emplace(deepSource);
      targetTree.emplace(deepTarget);
    }
  }
  const std::wstring longSource = Join(deepSource, L"长路径 long.bin");
  ASSERT_GT(longSource.size(), 300u);
  ASSERT_GT(deepTarget.size(), 260u);
  const Bytes longBytes = Pattern(kChunk + 1234, 30), nearBytes = Pattern(500, 31);
  WriteBytes(longSource, longBytes);
  WriteBytes(Source(L"near.txt"), nearBytes);
  const Bytes older = PlantOlder(deepTarget, L"长路径 long.bin");

  // Wine's open dialog overruns a MAX_PATH buffer when a longer folder is typed into it and takes
  // the program down, so the deep file comes in as from the file manager, by a drop; the near
  // one through the dialog.
  app.DropFiles({longSource});
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"near.txt"});
  ASSERT_EQ(app.ListEntries(), (std::vector<std::wstring>{longSource, Source(L"near.txt")}));
  app.SetText(IDC_TEXT1, deepTarget);

  HWND box = app.RunBackup();
  app.Screenshot(L"fault-long-paths");
  ExpectFinished(box);
  app.Acknowledge(box);
  ExpectList({{longSource, true}, {Source(L"near.txt"), true}});
  EXPECT_TRUE(Holds(Join(deepTarget, L"长路径 long.bin"), longBytes));
  EXPECT_TRUE(Holds(Join(deepTarget, L"near.txt"), nearBytes));
  EXPECT_EQ(NamesIn(deepTarget), (std::vector<std::wstring>{L"_版本", L"near.txt", L"长路径 long.bin"}));
  const std::wstring versions = Join(deepTarget, L"_版本");
  ASSERT_EQ(NamesIn(versions).size(), 1u);
  EXPECT_TRUE(Holds(Join(Join(versions, NamesIn(versions).front()), L"长路径 long.bin"), older)) << "kept as a version";

  // The list scrolls sideways to the end of the long entry.
  RECT client{};
  GetClientRect(app.ListBox(), &client);
  EXPECT_GT(SendMessageW(app.ListBox(), LB_GETHORIZONTALEXTENT, 0, 0), client.right);
}

}  // namespace

namespace {

// Three ways to stop a run in the middle of a large file: "停止", Esc, and "关闭" answered yes
// (which then ends the program); "关闭" answered no lets the run finish.
TEST_F(BackupWindowFaultTest, AStoppedRunKeepsTheOldBackupOfTheFileInProgress) {
  enum class How { StopButton, Escape, CloseYes, CloseNo };
  for (const How how : {How::StopButton, How::Escape, How::CloseYes, How::CloseNo}) {
    SCOPED_TRACE(static_cast<int>(how));
    for (const auto& name : NamesIn(dest)) DeleteFileW(Dest(name).c_str());
    cAppDriver driver;
    const LargeRun run = StartLargeRun(driver);
    if (how == How::StopButton) driver.Click(IDC_COMMAND3);
    if (how == How::Escape) PostMessageW(driver.Control(IDC_COMMAND3), WM_KEYDOWN, VK_ESCAPE, 0);
    if (how == How::CloseYes || how == How::CloseNo) {
      driver.ClickLabel(IDC_LABEL4);
      HWND question = driver.WaitForMessageBox();
      EXPECT_EQ(driver.MessageText(question), L"正在备份。要停止备份并关闭程序吗？");
      driver.PressButton(question, how == How::CloseYes ? IDYES : IDNO);
      driver.WaitUntilGone(question);  // while it closes it may be found with its text gone
    }
    HWND box = driver.WaitForDialog([&](HWND w) {
      return driver.Text(w) == L"工程1" && driver.MessageText(w).find(L"正在备份") == std::wstring::npos;
    });
    if (how == How::CloseNo) {
      EXPECT_EQ(driver.MessageText(box), L"完成备份！");
      EXPECT_TRUE(Holds(Dest(L"large.bin"), run.large));
      driver.Acknowledge(box);
      continue;
    }
    ExpectStopped(driver, run, box);
    driver.Acknowledge(box);
    EXPECT_EQ(driver.WaitForExit(std::chrono::seconds(10)), how == How::CloseYes);
  }
}

// A destination device that lies (test.sh's rig inverts what "flips-reads" folders give back
// from 1 MiB on): the copy read back differs, the file fails with the reason, and the older
// backup stays.
TEST_F(BackupWindowFaultTest, ACopyTheDestinationGivesBackAlteredFailsAndKeepsTheOldBackup) {
  cTestDir rig("OMB_TEST_RIG_DIR", cTestDir::Fresh{});
  if (!rig.Valid()) GTEST_SKIP() << "OMB_TEST_RIG_DIR (the device rig, mounted by test.sh) is not set";
  const std::wstring lying = rig.Path(L"flips-reads");
  MakeFolder(lying);
  const cRemoveOnExit cleanUp(lying);
  const Bytes older = PlantOlder(lying, L"photo.raw");
  WriteBytes(Source(L"photo.raw"), Pattern(3 << 20, 11));
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"photo.raw"});
  app.SetText(IDC_TEXT1, lying);
  HWND box = app.RunBackup();
  ExpectFailureMessage(box, {{Source(L"photo.raw"), {L"目标文件校验失败：写入的内容与源文件不一致"}}});
  app.Acknowledge(box);
  ExpectList({{Source(L"photo.raw"), false}});
  EXPECT_TRUE(Holds(Join(lying, L"photo.raw"), older));
  EXPECT_EQ(NamesIn(lying), std::vector<std::wstring>{L"photo.raw"});
}

// A program killed in the middle of a copy leaves the older backup and its temporary file; the
// next run into that folder removes the temporary file without a word.
TEST_F(BackupWindowFaultTest, AKilledRunKeepsTheOldBackupAndTheNextRunCleansUp) {
  std::optional<LargeRun> run;
  {
    cAppDriver killed;
    run = StartLargeRun(killed);
    killed.Kill();
  }
  EXPECT_TRUE(Holds(Dest(L"large.bin"), run->older));
  ASSERT_EQ(TemporaryFilesIn(dest).size(), 1u) << "the killed copy's file is there to be cleaned";
  WriteBytes(Source(L"next.txt"), Pattern(10, 9));
  app.Click(IDC_COMMAND2);
  app.PickFiles(src, {L"next.txt"});
  app.SetText(IDC_TEXT1, dest);
  HWND box = app.RunBackup();
  ExpectFinished(box);
  app.Acknowledge(box);
  EXPECT_EQ(NamesIn(dest), (std::vector<std::wstring>{L"a.txt", L"large.bin", L"next.txt"}));
  EXPECT_TRUE(Holds(Dest(L"large.bin"), run->older));
}

}  // namespace

namespace {

// A run never writes over what the list holds: a backup that would land on another entry's
// source, or on its own, fails with the reason and leaves both files as they were.
TEST_F(BackupWindowFaultTest, ABackupThatWouldOverwriteAListedSourceFailsAndLeavesItAlone) {
  const Bytes elsewhere = Pattern(300, 40), listed = Pattern(400, 41), self = Pattern(500, 42);
  WriteBytes(Source(L"report.doc"), elsewhere);
  WriteBytes(Dest(L"report.doc"), listed);
  WriteBytes(Dest(L"self.txt"), self);
  app.DropFiles({Source(L"report.doc"), Dest(L"report.doc"), Dest(L"self.txt")});
  app.SetText(IDC_TEXT1, dest);

  HWND box = app.RunBackup();
  ExpectFailureMessage(box, {{Source(L"report.doc"), {L"备份会覆盖列表中的另一个源文件"}},
                             {Dest(L"self.txt"), {L"备份会写在源文件本身上"}}});
  app.Acknowledge(box);
  ExpectList({{Source(L"report.doc"), false}, {Dest(L"report.doc"), true}, {Dest(L"self.txt"), false}});
  EXPECT_TRUE(Holds(Dest(L"report.doc"), listed));
  EXPECT_TRUE(Holds(Dest(L"self.txt"), self));
  EXPECT_TRUE(Holds(Dest(L"report (2).doc"), listed));
  EXPECT_TRUE(Holds(Source(L"report.doc"), elsewhere));
}

// A folder entry that holds the destination is backed up around it: the second run does not copy
// the first run's backup one level deeper. Every folder the run writes into loses the temporary
// files of copies whose process ended.
TEST_F(BackupWindowFaultTest, AFolderHoldingTheDestinationIsBackedUpAroundItAndEveryFolderIsCleaned) {
  const std::wstring data = Source(L"data"), target = Join(data, L"backup");
  for (const std::wstring& folder : {data, Join(data, L"2023"), target}) MakeFolder(folder);
  const Bytes photo = Pattern(700, 43);
  WriteBytes(Join(data, L"2023\\photo.jpg"), photo);
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    // Left by a copy of a process that no longer runs (no process has an id this large).
    const std::wstring leftover = Join(target, L"data\\2023\\~omb4294967290-7.tmp");
    if (run == 2) WriteBytes(leftover, Pattern(10, 44));
    cAppDriver driver;
    driver.DropFiles({data});
    driver.SetText(IDC_TEXT1, target);
    HWND box = driver.RunBackup();
    EXPECT_EQ(driver.MessageText(box), L"完成备份！");
    driver.Acknowledge(box);
    EXPECT_EQ(NamesIn(Join(target, L"data")), std::vector<std::wstring>{L"2023"}) << "no backup of the backup";
    EXPECT_EQ(NamesIn(Join(target, L"data\\2023")), std::vector<std::wstring>{L"photo.jpg"});
    EXPECT_TRUE(Holds(Join(target, L"data\\2023\\photo.jpg"), photo));
  }
}


// A name given in a session is kept: a later pick whose own name a backup of this session has
// takes the next free number instead of replacing that backup.
TEST_F(BackupWindowFaultTest, ALaterPickNeverReplacesABackupThisSessionMade) {
  const std::wstring a = Source(L"A"), b = Source(L"B"), c = Source(L"C");
  for (const std::wstring& folder : {a, b, c}) MakeFolder(folder);
  const Bytes fromA = Pattern(100, 45), fromB = Pattern(200, 46), fromC = Pattern(300, 47);
  WriteBytes(Join(a, L"dup.txt"), fromA);
  WriteBytes(Join(b, L"dup.txt"), fromB);
  WriteBytes(Join(c, L"dup (2).txt"), fromC);
  app.DropFiles({Join(a, L"dup.txt"), Join(b, L"dup.txt")});
  app.SetText(IDC_TEXT1, dest);
  HWND box = app.RunBackup();
  ExpectFinished(box);
  app.Acknowledge(box);
  app.DropFiles({Join(c, L"dup (2).txt")});
  box = app.RunBackup();
  ExpectFinished(box);
  app.Acknowledge(box);
  ExpectList({{Join(a, L"dup.txt"), true}, {Join(b, L"dup.txt"), true}, {Join(c, L"dup (2).txt"), true}});
  EXPECT_TRUE(Holds(Dest(L"dup.txt"), fromA));
  EXPECT_TRUE(Holds(Dest(L"dup (2).txt"), fromB));
  EXPECT_TRUE(Holds(Dest(L"dup (2) (2).txt"), fromC));
}

// A click given before "停止" shows (the second click of a double-click on "开始", queued while
// the run was worked out) is dropped: it was meant for "开始", and the run finishes.
TEST_F(BackupWindowFaultTest, ADoubleClickOnStartRunsTheBackupToTheEnd) {
  for (int i = 0; i < 40; ++i) WriteBytes(Source(L"f" + std::to_wstring(i) + L".txt"), Pattern(100, static_cast<std::uint32_t>(i)));
  app.DropFiles({src});
  app.SetText(IDC_TEXT1, dest);
  HWND start = app.Control(IDC_COMMAND3);
  const LPARAM at = MAKELPARAM(5, 5);
  PostMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(start, WM_LBUTTONUP, 0, at);
  PostMessageW(start, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(start, WM_LBUTTONUP, 0, at);
  HWND box = app.WaitForMessageBox();
  ExpectFinished(box);
  app.Acknowledge(box);
  EXPECT_EQ(NamesIn(Join(dest, L"src")).size(), 40u);
}

}  // namespace
