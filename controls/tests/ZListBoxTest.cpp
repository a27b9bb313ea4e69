// ZListBox against the real native list box: the messages it sends to pListBox, the native
// state they leave (horizontal extent, scroll bars, top index), events and failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ZListBox.h"
#include "cMessageRecorder.h"
#include "cPlatformError.h"
#include "mTestWindows.h"

namespace {

constexpr int kControlId = 100;
constexpr int kListId = 1;

// Messages that change the list box or its view: the ones the control's algorithms decide on.
bool IsListChange(UINT message) {
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETHORIZONTALEXTENT:
    case WM_VSCROLL:
      return true;
    default:
      return false;
  }
}

bool IsExtent(UINT message) { return message == LB_SETHORIZONTALEXTENT; }

ExpectedMessage Extent(int pixels) {
  return {LB_SETHORIZONTALEXTENT, kParams, static_cast<WPARAM>(pixels), 0};
}

struct EventLog : ZListBoxEvents {
  void Click() override {
    events.push_back("Click");
    if (throwOnClick) throw std::runtime_error("handler failed");
  }
  void DblClick() override { events.push_back("DblClick"); }
  std::vector<std::string> events;
  bool throwOnClick = false;
};

std::wstring DeepPath() {
  std::wstring path = L"E:\\资料备份";
  for (int i = 0; i < 14; ++i) path += L"\\第" + std::to_wstring(i) + L"层文件夹 folder";
  return path + L"\\最后的文件 final report.docx";
}

class ZListBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    list.Create(host.Handle(), kControlId, 24, 12, 369, 265, host.Font(), &log);
    recorder.Subclass(list.ListHwnd());
    mHostPump::DispatchFor();
    recorder.Clear();
  }

  HWND List() const { return list.ListHwnd(); }
  int NativeExtent() const {
    return static_cast<int>(SendMessageW(List(), LB_GETHORIZONTALEXTENT, 0, 0));
  }
  // The width as GetTextExtentPoint32W measures it in the list's font (no "&" processing).
  int Width(const std::wstring& text) const { return TextExtent(List(), host.Font(), text); }
  bool ScrollBarShown(LONG object) const {
    mHostPump::DispatchFor();
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(List(), object, &info);
    return (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0;
  }
  // The last entry lies wholly inside the list's client area.
  bool LastEntryInView() const {
    const LRESULT last = SendMessageW(List(), LB_GETCOUNT, 0, 0) - 1;
    RECT item{};
    RECT client{};
    SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&item));
    GetClientRect(List(), &client);
    return item.top >= 0 && item.bottom <= client.bottom;
  }
  int TopIndex() const { return static_cast<int>(SendMessageW(List(), LB_GETTOPINDEX, 0, 0)); }
  std::vector<RecordedMessage> Changes() const { return recorder.TopLevel(IsListChange); }
  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> out;
    for (std::int16_t i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
  }
  // Clicks the entry as the mouse would, through the list box's own message handling.
  void ClickEntry(int index, bool twice = false) {
    RECT item{};
    SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(List(), WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(List(), WM_LBUTTONUP, 0, at);
    }
    mHostPump::DispatchFor(50);
  }

  cWatchdog watchdog{"a ZListBox test", std::chrono::seconds(60)};
  cTestHost& host = cTestHost::Shared();
  EventLog log;
  ZListBox list;
  cMessageRecorder recorder;
};

TEST_F(ZListBoxTest, NewControlIsEmptyAndHostsOneConfiguredListBox) {
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(NativeExtent(), 0);
  EXPECT_EQ(list.MaxWidth(), 0);
  EXPECT_FALSE(ScrollBarShown(OBJID_HSCROLL));
  EXPECT_TRUE(list.Enabled());

  wchar_t className[32] = {};
  GetClassNameW(List(), className, 32);
  EXPECT_EQ(lstrcmpiW(className, L"ListBox"), 0) << className;
  EXPECT_EQ(GetParent(List()), list.hwnd());
  EXPECT_EQ(GetWindow(list.hwnd(), GW_CHILD), List());
  EXPECT_EQ(GetWindow(List(), GW_HWNDNEXT), nullptr) << "pListBox is the only child";
  EXPECT_EQ(GetDlgCtrlID(list.hwnd()), kControlId);
  EXPECT_EQ(GetDlgCtrlID(List()), kListId);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(List(), WM_GETFONT, 0, 0)), host.Font());

  const LONG style = GetWindowLongW(List(), GWL_STYLE);
  EXPECT_TRUE(style & LBS_NOTIFY);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_FALSE(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_MULTICOLUMN));
  EXPECT_FALSE(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT));
  EXPECT_TRUE(GetWindowLongW(List(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongW(list.hwnd(), GWL_STYLE) & WS_TABSTOP) << "the list is the tab stop";
}

TEST_F(ZListBoxTest, CoversTheControlAtEveryRectangle) {
  const RECT rects[] = {{24, 12, 393, 277}, {0, 0, 100, 50}, {7, 3, 338, 404}, {50, 60, 51, 61}};
  for (const RECT& r : rects) {
    SCOPED_TRACE(testing::Message() << r.left << "," << r.top << " " << r.right - r.left << "x"
                                    << r.bottom - r.top);
    MoveWindow(list.hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    mHostPump::DispatchFor();
    RECT control{};
    RECT inner{};
    GetWindowRect(list.hwnd(), &control);
    GetWindowRect(List(), &inner);
    EXPECT_EQ(inner.left, control.left);
    EXPECT_EQ(inner.top, control.top);
    EXPECT_EQ(inner.right, control.right);
    EXPECT_LE(inner.bottom, control.bottom);
    // Integral height may leave a strip less than one row high.
    const int row = static_cast<int>(SendMessageW(List(), LB_GETITEMHEIGHT, 0, 0));
    if (r.bottom - r.top > 2 * row) {
      EXPECT_GT(inner.bottom, control.bottom - row);
    }
  }
}

TEST_F(ZListBoxTest, AddItemScrollsToTheEndUnlessAskedNotTo) {
  list.AddItem(L"C:\\a.txt");
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_ADDSTRING, kWParam, 0, 0},
                                          Extent(Width(L"C:\\a.txt") + 4),
                                          {WM_VSCROLL, kParams, SB_BOTTOM, 0}}));
  recorder.Clear();
  list.AddItem(L"C:\\b", false);
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_ADDSTRING, kWParam, 0, 0}}))
      << "a narrower entry sends no extent, and no scroll without pbScrollBottom";

  for (int i = 0; i < 40; ++i) list.AddItem(L"entry " + std::to_wstring(i));
  mHostPump::DispatchFor();
  const int rows = static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0));
  EXPECT_EQ(rows, 42);
  EXPECT_GT(TopIndex(), 0);
  EXPECT_TRUE(LastEntryInView());
  EXPECT_TRUE(ScrollBarShown(OBJID_VSCROLL));

  SendMessageW(List(), LB_SETTOPINDEX, 0, 0);
  SendMessageW(List(), LB_SETCURSEL, 3, 0);
  list.AddItem(L"not scrolled", false);
  EXPECT_EQ(TopIndex(), 0);
  EXPECT_FALSE(LastEntryInView());
  list.AddItem(L"scrolled");
  EXPECT_TRUE(LastEntryInView());
  EXPECT_EQ(list.ListIndex(), 3) << "scrolling leaves the selection alone";
  EXPECT_EQ(list.List(static_cast<std::int16_t>(rows + 1)), L"scrolled") << "unsorted: appended";
}

TEST_F(ZListBoxTest, ExtentFollowsTheWidestEntryAsEntriesAreAdded) {
  struct Step {
    const wchar_t* text;
    bool grows;
  };
  const Step steps[] = {
      {L"C:\\x.txt", true},     {L"C:\\folder\\x.txt", true}, {L"C:\\short", false},
      {L"C:\\folder\\y.txt", false},  // same width as the widest: nothing changes
      {L"C:\\folder\\deeper\\x.txt", true}, {L"", false},
  };
  int widest = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "adding \"" << std::string(s.text, s.text + wcslen(s.text)) << "\"");
    recorder.Clear();
    list.AddItem(s.text);
    if (s.grows) {
      widest = Width(s.text);
      EXPECT_TRUE(FollowsSequence(recorder.TopLevel(IsExtent), {Extent(widest + 4)}));
    } else {
      EXPECT_TRUE(FollowsSequence(recorder.TopLevel(IsExtent), {}));
    }
    EXPECT_EQ(list.MaxWidth(), widest);
    EXPECT_EQ(NativeExtent(), widest + 4);
  }
}

TEST_F(ZListBoxTest, ReplacingEntriesKeepsTheExtentFitted) {
  const std::wstring a = L"D:\\照片\\2024\\春节\\全家福.jpg";
  const std::wstring b = L"D:\\文档\\报告.docx";
  const std::wstring c = L"D:\\x";
  for (const auto& text : {a, b, c}) list.AddItem(text);
  ASSERT_EQ(NativeExtent(), Width(a) + 4);

  // The backup run's mark: "√" in front of the widest entry widens it by the mark.
  recorder.Clear();
  list.List(0, L"√" + a);
  EXPECT_EQ(NativeExtent(), Width(L"√" + a) + 4);
  EXPECT_GT(NativeExtent(), Width(a) + 4);
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_DELETESTRING, kWParam, 0, 0},
                                          {LB_INSERTSTRING, kWParam, 0, 0},
                                          Extent(Width(L"√" + a) + 4)}));
  EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"√" + a, b, c}));

  // The widest entry narrowed: the next widest sets the extent.
  list.List(0, L"√");
  EXPECT_EQ(NativeExtent(), Width(b) + 4);
  EXPECT_EQ(list.MaxWidth(), Width(b));

  // A narrower entry replaced by the widest text of all.
  recorder.Clear();
  list.List(2, a + L"\\more");
  EXPECT_EQ(NativeExtent(), Width(a + L"\\more") + 4);
  // A narrower entry replaced by a narrow text: no extent message.
  recorder.Clear();
  list.List(0, L"√x");
  EXPECT_TRUE(FollowsSequence(recorder.TopLevel(IsExtent), {}));
  EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"√x", b, a + L"\\more"}));
}

// A job's entries listed again under another letter: each of many entries of the widest width
// narrows in turn. Only the last of them moves the extent, and no other entry is read again.
TEST_F(ZListBoxTest, NarrowingEntriesOfTheWidestWidthReadsOnlyTheirOwnText) {
  const std::wstring before = L"W:\\DCIM\\IMG_1000.JPG";
  const std::wstring after = L"I:\\DCIM\\IMG_1000.JPG";
  ASSERT_LT(Width(after), Width(before));
  constexpr std::int16_t kEntries = 40;
  for (int i = 0; i < kEntries; ++i) list.AddItem(before, false);
  for (std::int16_t i = 0; i < kEntries; ++i) {
    recorder.Clear();
    list.List(i, after);
    EXPECT_EQ(recorder.TopLevel([](UINT message) { return message == LB_GETTEXT; }).size(), 1u) << i;
    EXPECT_EQ(list.MaxWidth(), i + 1 < kEntries ? Width(before) : Width(after)) << i;
  }
  EXPECT_EQ(NativeExtent(), Width(after) + 4);
}

TEST_F(ZListBoxTest, ReplacingAnEntryKeepsSelectionAndScrollPosition) {
  for (int i = 0; i < 60; ++i) list.AddItem(L"F:\\file " + std::to_wstring(i) + L".bin");
  const auto top = static_cast<std::int16_t>(TopIndex());
  ASSERT_GT(top, 0);
  SendMessageW(List(), LB_SETCURSEL, 59, 0);
  list.List(59, L"√F:\\file 59.bin");
  list.List(top, L"√F:\\file " + std::to_wstring(top) + L".bin");
  EXPECT_EQ(TopIndex(), top) << "marking entries does not make the view creep";
  EXPECT_EQ(list.ListIndex(), 59);
  EXPECT_EQ(list.List(59), L"√F:\\file 59.bin");
}

TEST_F(ZListBoxTest, RemovingEntriesKeepsTheExtentFitted) {
  const std::wstring wide = L"G:\\a rather long folder name\\file.txt";
  const std::wstring middle = L"G:\\medium\\file.txt";
  const std::wstring narrow = L"G:\\f";
  for (const auto& text : {narrow, wide, middle}) list.AddItem(text);

  recorder.Clear();
  list.RemoveItem(0);  // not the widest: nothing to re-measure
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_DELETESTRING, kParams, 0, 0}}));
  EXPECT_EQ(NativeExtent(), Width(wide) + 4);

  list.RemoveItem(0);  // the widest
  EXPECT_EQ(NativeExtent(), Width(middle) + 4);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{middle});

  recorder.Clear();
  list.RemoveItem(0);  // the last one
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_DELETESTRING, kParams, 0, 0}, Extent(0)}));
  EXPECT_EQ(list.MaxWidth(), 0);
  EXPECT_FALSE(ScrollBarShown(OBJID_HSCROLL));
}

TEST_F(ZListBoxTest, ClearAndRefreshOnAnEmptyListShowNoScrollBar) {
  list.AddItem(DeepPath());
  ASSERT_TRUE(ScrollBarShown(OBJID_HSCROLL));
  recorder.Clear();
  list.Clear();
  EXPECT_TRUE(FollowsSequence(Changes(), {{LB_RESETCONTENT, kAnyParams, 0, 0}, Extent(0)}));
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_FALSE(ScrollBarShown(OBJID_HSCROLL));

  recorder.Clear();
  list.Refresh_();
  EXPECT_TRUE(FollowsSequence(Changes(), {Extent(4)}));
  EXPECT_FALSE(ScrollBarShown(OBJID_HSCROLL));
  list.Clear();
  EXPECT_EQ(NativeExtent(), 0);
}

TEST_F(ZListBoxTest, RefreshMeasuresEveryEntry) {
  const std::wstring texts[] = {L"short", L"the widest entry of them all", L"middle entry"};
  for (const auto& text : texts) SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  EXPECT_EQ(list.MaxWidth(), 0) << "entries added behind the control's back are not measured";
  list.Refresh_();
  EXPECT_EQ(list.MaxWidth(), Width(texts[1]));
  EXPECT_EQ(NativeExtent(), Width(texts[1]) + 4);
}

TEST_F(ZListBoxTest, AnEntryAddedBehindItsBackIsLeftOutUntilReplaced) {
  const std::wstring wide = L"the widest entry, added behind the control's back";
  list.AddItem(wide);
  SendMessageW(List(), LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  list.List(0, L"x");  // it was never counted: the other widest keeps the extent
  EXPECT_EQ(list.MaxWidth(), Width(wide));
  list.List(1, L"middle entry");
  EXPECT_EQ(list.MaxWidth(), Width(L"middle entry"));
  EXPECT_EQ(NativeExtent(), Width(L"middle entry") + 4);
}

TEST_F(ZListBoxTest, ADeepPathScrollsTo4PixelsPastItsLastCharacter) {
  const std::wstring path = DeepPath();
  list.AddItem(path);
  EXPECT_EQ(list.List(0), path);
  EXPECT_TRUE(ScrollBarShown(OBJID_HSCROLL));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(List(), SB_HORZ, &info));
  EXPECT_EQ(info.nMax + 1, Width(path) + 4);
  RECT client{};
  GetClientRect(List(), &client);
  EXPECT_EQ(static_cast<int>(info.nPage), client.right);
}

TEST_F(ZListBoxTest, MeasuresAmpersandAsAMnemonicPrefix) {
  // "&" marks the next character; "&&" stands for one "&".
  list.AddItem(L"Tom & Jerry.avi");
  EXPECT_EQ(list.MaxWidth(), Width(L"Tom  Jerry.avi"));
  list.Clear();
  list.AddItem(L"R&&D&&Q.txt");
  EXPECT_EQ(list.MaxWidth(), Width(L"R&D&Q.txt"));
  EXPECT_EQ(list.List(0), L"R&&D&&Q.txt") << "the entry keeps its text";
}

TEST_F(ZListBoxTest, KeepsTextOutsideTheAnsiCodePage) {
  // Hangul and "ğ" have no place in code page 936; an ANSI round trip would make them "?".
  const std::wstring path = L"H:\\사진\\Doğum günü ű €.jpg";
  list.AddItem(path);
  EXPECT_EQ(list.List(0), path);
  EXPECT_EQ(list.MaxWidth(), Width(path));
  list.List(0, L"√" + path);
  EXPECT_EQ(list.List(0), L"√" + path);
}

TEST_F(ZListBoxTest, RefusedIndexesFailAndChangeNothing) {
  list.AddItem(L"C:\\one.txt");
  list.AddItem(L"C:\\the widest.txt");
  const int extent = NativeExtent();
  const int widest = list.MaxWidth();
  for (std::int16_t bad : {std::int16_t{2}, std::int16_t{-1}, std::int16_t{32767}}) {
    SCOPED_TRACE(bad);
    recorder.Clear();
    try {
      list.List(bad, L"C:\\a much wider replacement text than the others.txt");
      ADD_FAILURE() << "List set did not fail";
    } catch (const cPlatformError& e) {
      EXPECT_EQ(e.Operation(), L"List set");
      EXPECT_EQ(e.Subject(), L"index " + std::to_wstring(bad));
      EXPECT_EQ(e.Call(), L"LB_GETTEXTLEN");
      EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(ERROR_INVALID_INDEX));
    }
    EXPECT_THROW(list.RemoveItem(bad), cPlatformError);
    EXPECT_THROW(list.List(bad), cPlatformError);
    EXPECT_TRUE(FollowsSequence(Changes(), {})) << "no entry and no extent was touched";
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"C:\\one.txt", L"C:\\the widest.txt"}));
    EXPECT_EQ(list.MaxWidth(), widest);
    EXPECT_EQ(NativeExtent(), extent);
  }
}

TEST_F(ZListBoxTest, RefusesMoreEntriesThanA16BitCountHolds) {
  SendMessageW(List(), WM_SETREDRAW, FALSE, 0);
  const wchar_t* text = L"x";
  for (int i = 0; i < 32767; ++i) SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(list.ListCount(), 32767);
  EXPECT_EQ(list.List(32766), L"x");
  EXPECT_THROW(list.AddItem(L"one too many"), cPlatformError);
  EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 32767) << "the refused entry is gone again";
  SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_THROW(list.ListCount(), cPlatformError);
  SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SendMessageW(List(), LB_SETCURSEL, 32767, 0);
  EXPECT_EQ(list.ListIndex(), 32767);
  SendMessageW(List(), LB_SETCURSEL, 32768, 0);
  EXPECT_THROW(list.ListIndex(), cPlatformError) << "an index past the 16-bit range";
  list.Clear();
  SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(ZListBoxTest, DisabledListStillTakesChanges) {
  list.Enabled(false);
  EXPECT_FALSE(list.Enabled());
  EXPECT_FALSE(IsWindowEnabled(List()));
  EXPECT_TRUE(IsWindowEnabled(list.hwnd())) << "the control's own window stays enabled";

  list.AddItem(L"J:\\a.txt");
  list.AddItem(L"J:\\the widest.txt");
  list.List(0, L"√J:\\a.txt");
  list.RemoveItem(1);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"√J:\\a.txt"});
  EXPECT_EQ(NativeExtent(), Width(L"√J:\\a.txt") + 4);
  list.Clear();
  EXPECT_EQ(NativeExtent(), 0);

  ClickEntry(0);
  EXPECT_TRUE(log.events.empty()) << "a disabled list ignores the mouse";
  list.Enabled(true);
  EXPECT_TRUE(IsWindowEnabled(List()));
}

TEST_F(ZListBoxTest, SavesAndRestoresEnabledWithItsDefault) {
  cLayoutProperties bag;
  list.WriteProperties(bag);
  EXPECT_FALSE(bag.Contains(L"Enabled")) << "the default is not stored";
  list.ReadProperties(bag);
  EXPECT_TRUE(list.Enabled());

  list.Enabled(false);
  list.WriteProperties(bag);
  EXPECT_FALSE(bag.ReadProperty(L"Enabled", true));
  list.Enabled(true);
  list.ReadProperties(bag);
  EXPECT_FALSE(list.Enabled());

  list.Enabled(true);
  list.WriteProperties(bag);
  EXPECT_FALSE(bag.Contains(L"Enabled"));
}

TEST_F(ZListBoxTest, RaisesClickAndDblClickOnlyWithASelection) {
  for (const wchar_t* text : {L"K:\\a", L"K:\\b", L"K:\\c"}) list.AddItem(text);
  ClickEntry(1);
  EXPECT_EQ(log.events, std::vector<std::string>{"Click"});
  EXPECT_EQ(list.ListIndex(), 1);

  log.events.clear();
  ClickEntry(2, true);
  EXPECT_EQ(log.events, (std::vector<std::string>{"Click", "DblClick"}))
      << "the first click changed the selection";

  log.events.clear();
  PostMessageW(List(), WM_KEYDOWN, VK_UP, 0);
  mHostPump::DispatchFor(50);
  EXPECT_EQ(log.events, std::vector<std::string>{"Click"}) << "keyboard selection counts too";
  EXPECT_EQ(list.ListIndex(), 1);
}

TEST_F(ZListBoxTest, NotificationsWithoutASelectionRaiseNothing) {
  recorder.Subclass(list.hwnd());
  // An empty list reports a double-click on its empty area.
  ClickEntry(0, true);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_GT(recorder.Count(list.hwnd(), WM_COMMAND), 0) << "pListBox did report something";
  // And a selection change without a selected entry.
  SendMessageW(list.hwnd(), WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(List()));
  SendMessageW(list.hwnd(), WM_COMMAND, MAKEWPARAM(kListId, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(List()));
  EXPECT_TRUE(log.events.empty());
}

TEST_F(ZListBoxTest, KeepsAHandlersExceptionForTheMessageLoop) {
  list.AddItem(L"L:\\a");
  log.throwOnClick = true;
  ClickEntry(0);
  EXPECT_EQ(log.events, std::vector<std::string>{"Click"});
  EXPECT_THROW(cControlWindow::RethrowPendingError(), std::runtime_error);
  EXPECT_NO_THROW(cControlWindow::RethrowPendingError()) << "thrown once";
}

TEST_F(ZListBoxTest, TheFocusGoesToTheList) {
  SetFocus(list.hwnd());
  mHostPump::DispatchFor();
  EXPECT_EQ(GetFocus(), List());
}

TEST(ZListBoxLifetime, GoesWithItsParentAndLeavesTheFontAlone) {
  cTestHost host;
  {
    ZListBox list;
    list.Create(host.Handle(), 1, 0, 0, 200, 100, host.Font());
    const HWND inner = list.ListHwnd();
    const HWND outer = list.hwnd();
    host.Destroy();
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_FALSE(IsWindow(outer));
    EXPECT_EQ(list.hwnd(), nullptr);
    EXPECT_THROW(list.AddItem(L"x"), std::logic_error);
  }  // destroying the object after its window is gone must be harmless
  LOGFONTW font{};
  EXPECT_EQ(GetObjectW(host.Font(), sizeof font, &font), static_cast<int>(sizeof font))
      << "the font is still alive";
}

TEST(ZListBoxLifetime, DestroysItsWindowsWithTheObject) {
  cTestHost host;
  HWND inner = nullptr;
  HWND outer = nullptr;
  {
    ZListBox list;
    list.Create(host.Handle(), 1, 0, 0, 200, 100, nullptr);
    inner = list.ListHwnd();
    outer = list.hwnd();
    list.AddItem(L"measured in the system font");
    EXPECT_EQ(list.MaxWidth(), TextExtent(inner, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)),
                                          L"measured in the system font"));
  }
  EXPECT_FALSE(IsWindow(inner));
  EXPECT_FALSE(IsWindow(outer));
}

}  // namespace
