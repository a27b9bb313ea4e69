// A stick that arrives while the window is idle: the real program, sent WM_DEVICECHANGE as the
// system sends it for drive Q:, which the suite's fixture links to a folder of the build tree.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "ControlIds.h"
#include "cAppDriver.h"
#include "cTestDir.h"
#include "mText.h"

namespace {

using namespace std::chrono_literals;

constexpr DWORD kSerial = 0x4D2C1B0A;

class BackupArrivalTest : public testing::Test {
 protected:
  BackupArrivalTest() {
    std::filesystem::remove_all(stick);
    std::filesystem::create_directories(stick);
    std::ofstream(stick / ".windows-serial") << "4d2c1b0a\n";
    std::ofstream(stick / ".windows-label") << "\xE7\x85\xA7\xE7\x89\x87\xE7\x9B\x98\n";  // 照片盘
    std::ofstream(stick / "a.txt") << "aaa";
    std::ofstream(stick / "b.txt") << "bbb";
    local.Write(L"c.txt", Pattern(10));
    std::filesystem::create_directory(FsPath(local.Path(L"dest")));
  }
  // DBT_DEVICEARRIVAL for the volume of drive Q:, sent as the system broadcasts it.
  static void Arrive(const cAppDriver& app) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (L'Q' - L'A');
    DWORD_PTR result = 0;
    SendMessageTimeoutW(app.Window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG,
                        5000, &result);
  }

  const std::filesystem::path stick = FsPath(FromHostPath(OMB_STICK_DIR));
  cTestDir local;
  cTestDir appData;
};

// The seconds in "… N 秒后自动开始备份", or -1.
int SecondsLeft(const std::wstring& text) {
  const auto end = text.find(L" 秒后自动开始备份");
  if (end == std::wstring::npos) return -1;
  const auto start = text.find_last_not_of(L"0123456789", end - 1) + 1;
  return start < end ? std::stoi(text.substr(start, end - start)) : -1;
}

TEST_F(BackupArrivalTest, AStickWithListedEntriesIsOfferedForBackupAndRunsWhenNoOneAnswers) {
  DWORD serial = 0;
  wchar_t label[64] = {};
  ASSERT_TRUE(GetVolumeInformationW(L"Q:\\", label, 64, &serial, nullptr, nullptr, nullptr, 0)) << "drive Q: is not linked";
  ASSERT_EQ(serial, kSerial);

  cAppDriver app(L"", appData.Root());
  app.DropFiles({L"Q:\\a.txt", L"Q:\\b.txt", local.Path(L"c.txt")});
  app.SetText(IDC_TEXT1, local.Path(L"dest"));

  Arrive(app);
  HWND box = app.WaitForMessageBox();
  const std::wstring question = L"检测到 U 盘「照片盘」。现在备份其中的 2 项吗？";
  const std::wstring first = app.MessageText(box);
  EXPECT_EQ(first.substr(0, question.size()), question) << mText::ToUtf8(first);
  Settle(2500ms);
  // How far the countdown has come depends on how busy the machine is; that it counts does not.
  const std::wstring later = app.MessageText(box);
  const int before = SecondsLeft(first), after = SecondsLeft(later);
  EXPECT_TRUE(before <= 10 && after >= 1 && after < before) << "the countdown shows: " << mText::ToUtf8(first) << " then "
                                                            << mText::ToUtf8(later);
  app.Screenshot(L"arrival-question", box);
  app.PressButton(box, IDNO);
  app.WaitUntilGone(box);
  Settle(500ms);
  EXPECT_EQ(app.FindMessageBox(), nullptr) << "否 runs nothing";
  EXPECT_FALSE(local.Exists(L"dest\\a.txt"));

  Arrive(app);  // another arrival, another question; no answer this time
  box = app.WaitForMessageBox();
  app.WaitUntilGone(box);
  HWND done = app.WaitForMessageBox();
  EXPECT_EQ(app.MessageText(done), L"完成备份！");
  app.Acknowledge(done);
  EXPECT_TRUE(local.Exists(L"dest\\a.txt"));
  EXPECT_TRUE(local.Exists(L"dest\\c.txt")) << "the whole job runs";
}

// An arrival at Q: concerns only entries of the volume that arrived: not local files, and not
// the entries of another stick that was at Q: when they were added.
TEST_F(BackupArrivalTest, NoQuestionForAStickWithoutListedEntries) {
  const std::string anotherStick = R"({"format":1,"destination":{"path":""},"entries":[)"
                                   R"({"volume":2863267841,"root":"Q:\\","label":"A盘","path":"a.txt","name":"a.txt"}]})";
  for (const bool localOnly : {true, false}) {
    if (!localOnly) {
      std::filesystem::create_directories(FsPath(appData.Path(L"OmbrivoBeta")));
      std::ofstream(FsPath(appData.Path(L"OmbrivoBeta")) / "job.json", std::ios::binary) << anotherStick;
    }
    cAppDriver app(L"", appData.Root());
    if (localOnly) app.DropFiles({local.Path(L"c.txt")});
    app.SetText(IDC_TEXT1, local.Path(L"dest"));
    Arrive(app);
    Settle(1s);
    EXPECT_EQ(app.FindMessageBox(), nullptr) << (localOnly ? "local files" : "another stick's entries");
    EXPECT_FALSE(local.Exists(L"dest\\a.txt"));
  }
}

}  // namespace
