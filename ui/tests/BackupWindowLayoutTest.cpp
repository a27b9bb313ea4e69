// What the backup window looks like on screen: size, frame, control rectangles, tab order,
// and the skin's colours around the controls.
#include <gtest/gtest.h>

#include "BackupLayout.h"
#include "ControlIds.h"
#include "cAppDriver.h"

namespace {

struct Pixels {
  int left, top, width, height;
  bool operator==(const Pixels&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixels& p) {
  return out << "(" << p.left << ", " << p.top << ", " << p.width << ", " << p.height << ")";
}

// The layout at 96 DPI, as a person measures it on screen.
const std::pair<int, Pixels> kExpected[] = {
    {IDC_COMMAND1, {328, 408, 65, 20}}, {IDC_LABEL1, {24, 88, 174, 12}},  {IDC_TEXT1, {24, 408, 297, 20}},
    {IDC_COMMAND2, {288, 88, 105, 20}}, {IDC_COMMAND3, {328, 456, 65, 20}}, {IDC_PROGRESSBAR1, {24, 456, 297, 17}},
    {IDC_LABEL2, {24, 384, 102, 12}},   {IDC_LIST1, {24, 112, 369, 265}},  {IDC_LABEL3, {24, 440, 185, 25}},
    {IDC_LABEL4, {392, 8, 49, 17}},
};

class BackupWindowLayoutTest : public testing::Test {
 protected:
  Pixels RectOf(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, app.Window(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  COLORREF PixelAt(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(app.Window(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
  }
  int TextWidth(const std::wstring& text) const {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
  }

  cAppDriver app;
};

TEST_F(BackupWindowLayoutTest, WindowIsAFramelessFixedSkinCentredOnTheScreen) {
  RECT client{}, window{};
  GetClientRect(app.Window(), &client);
  GetWindowRect(app.Window(), &window);
  EXPECT_EQ(client.right, 429);
  EXPECT_EQ(client.bottom, 510);
  EXPECT_EQ(window.right - window.left, 429) << "no frame around the client area";
  const LONG style = GetWindowLongW(app.Window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MAXIMIZEBOX), 0);
  EXPECT_TRUE(GetWindowLongW(app.Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown in the taskbar";
  EXPECT_EQ(app.Text(app.Window()), L"OmbrivoBeta");

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(window.left - work.left, work.right - window.right, 1);
  EXPECT_NEAR(window.top - work.top, work.bottom - window.bottom, 1);
}

TEST_F(BackupWindowLayoutTest, ControlsSitWhereTheLayoutPutsThem) {
  for (const auto& [id, expected] : kExpected) {
    SCOPED_TRACE(id);
    HWND control = app.Control(id);
    ASSERT_NE(control, nullptr);
    Pixels actual = RectOf(control);
    if (id == IDC_LABEL1 || id == IDC_LABEL2) {
      const int textWidth = TextWidth(app.Text(control));
      EXPECT_EQ(actual.width, textWidth) << "the label is as wide as its text";
      actual.width = expected.width;  // the font on this system may be a stand-in for SimSun
    }
    EXPECT_EQ(actual, expected);
  }
  const std::pair<int, const wchar_t*> captions[] = {
      {IDC_COMMAND1, L"浏览"}, {IDC_COMMAND2, L"选择文件..."}, {IDC_COMMAND3, L"开始"},
      {IDC_LABEL1, L"请选择需要备份的U盘文件路径："}, {IDC_LABEL2, L"将U盘文件备份到："},
      {IDC_LABEL3, L"备份进度："}, {IDC_LABEL4, L"关闭"}, {IDC_TEXT1, L""}};
  for (const auto& [id, text] : captions) EXPECT_EQ(app.Text(app.Control(id)), text);
}

TEST_F(BackupWindowLayoutTest, FocusStartsOnBrowseAndMovesInTabOrderSkippingLabels) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &info);
  EXPECT_EQ(info.hwndFocus, app.Control(IDC_COMMAND1));

  const HWND expected[] = {app.Control(IDC_TEXT1), app.Control(IDC_COMMAND2), app.Control(IDC_COMMAND3),
                           app.ListBox(), app.Control(IDC_COMMAND1)};
  HWND at = app.Control(IDC_COMMAND1);
  for (HWND next : expected) {
    at = GetNextDlgTabItem(app.Window(), at, FALSE);
    EXPECT_EQ(at, next);
  }
}

TEST_F(BackupWindowLayoutTest, SkinShowsAroundAndBehindTheControls) {
  Settle(std::chrono::milliseconds(500));
  app.Screenshot(L"layout");
  const COLORREF ground = RGB(234, 234, 234), panel = RGB(255, 255, 255), badge = RGB(0, 168, 236);
  EXPECT_EQ(PixelAt(4, 4), ground);
  EXPECT_EQ(PixelAt(8, 300), ground);
  EXPECT_EQ(PixelAt(428, 509), ground) << "the picture's black edge lines lie outside the window";
  EXPECT_EQ(PixelAt(17, 17), badge);
  EXPECT_EQ(PixelAt(18, 100), panel);
  EXPECT_EQ(PixelAt(410, 490), panel);
  // Transparent labels: the panel shows in the parts of their rectangles without text.
  EXPECT_EQ(PixelAt(24 + 180, 440 + 22), panel) << "Label3";
  EXPECT_EQ(PixelAt(24, 88 + 11), panel) << "Label1";

  // "关闭" is drawn in teal on the grey header.
  int teal = 0;
  for (int x = 392; x < 441; ++x)
    for (int y = 8; y < 25; ++y) {
      const COLORREF c = PixelAt(x, y);
      teal += GetRValue(c) < 60 && GetGValue(c) > 90 && GetGValue(c) < 170 && GetBValue(c) > 90 && GetBValue(c) < 170;
    }
  EXPECT_GT(teal, 10);
}

}  // namespace
