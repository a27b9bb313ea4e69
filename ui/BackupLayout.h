#pragma once
// Where the backup window's controls sit, in twips, in tab order.
#include <array>

#include "ControlIds.h"

namespace BackupLayout {

enum class Kind { Button, Label, Edit, ProgressBar, ListBox };

struct ControlSpec {
  const wchar_t* name;
  Kind kind;
  const wchar_t* text;
  int id;
  int left, top, width, height;  // twips
  bool autoSize;                 // the label is exactly as wide as its text
};

inline constexpr int kClientWidth = 6435;   // twips
inline constexpr int kClientHeight = 7650;  // twips

inline constexpr std::array<ControlSpec, 10> kControls = {{
    {L"Command1", Kind::Button, L"浏览", IDC_COMMAND1, 4920, 6120, 975, 300, false},
    {L"Label1", Kind::Label, L"请选择需要备份的U盘文件路径：", IDC_LABEL1, 360, 1320, 2610, 180, true},
    {L"Text1", Kind::Edit, L"", IDC_TEXT1, 360, 6120, 4455, 300, false},
    {L"Command2", Kind::Button, L"选择文件...", IDC_COMMAND2, 4320, 1320, 1575, 300, false},
    {L"Command3", Kind::Button, L"开始", IDC_COMMAND3, 4920, 6840, 975, 300, false},
    {L"ProgressBar1", Kind::ProgressBar, L"", IDC_PROGRESSBAR1, 360, 6840, 4455, 255, false},
    {L"Label2", Kind::Label, L"将U盘文件备份到：", IDC_LABEL2, 360, 5760, 1530, 180, true},
    {L"List1", Kind::ListBox, L"", IDC_LIST1, 360, 1680, 5535, 3975, false},
    {L"Label3", Kind::Label, L"备份进度：", IDC_LABEL3, 360, 6600, 2775, 375, false},
    {L"Label4", Kind::Label, L"关闭", IDC_LABEL4, 5880, 120, 735, 255, false},
}};

}  // namespace BackupLayout
