// ProgressBar against the real "msctls_progress32" bar of the v6 common controls: the
// messages every native bar receives (each is subclassed as it is created), its native
// state, re-creation, marquee animation and a failed creation.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgressBar.h"
#include "cCreationHook.h"
#include "cMessageRecorder.h"
#include "mTestWindows.h"

namespace {

constexpr int kControlId = 200;

// The messages that change a bar (the getters the test itself sends are left out).
bool IsBarMessage(UINT message) {
  switch (message) {
    case PBM_SETRANGE:
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_SETSTEP:
    case PBM_STEPIT:
    case PBM_SETRANGE32:
    case PBM_SETBARCOLOR:
    case PBM_SETMARQUEE:
    case PBM_SETBKCOLOR:
      return true;
    default:
      return false;
  }
}

ExpectedMessage Range(std::int32_t low, std::int32_t high) {
  return {PBM_SETRANGE32, kParams, static_cast<WPARAM>(low), high};
}
ExpectedMessage Pos(std::int32_t pos) { return {PBM_SETPOS, kParams, static_cast<WPARAM>(pos), 0}; }
ExpectedMessage Marquee(std::int32_t ms) { return {PBM_SETMARQUEE, kParams, 1, ms}; }

struct NativeState {
  int low;
  int high;
  int pos;
};

NativeState Native(HWND bar) {
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  return {range.iLow, range.iHigh, static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0))};
}

class ProgressBarTest : public testing::Test {
 protected:
  void SetUp() override {
    bar.Create(host.Handle(), kControlId, 24, 300, 297, 17);
    mHostPump::DispatchFor();
  }

  // The bar messages received since the last Clear, sent by the control itself.
  std::vector<RecordedMessage> Sent() const { return recorder.TopLevel(IsBarMessage); }
  DWORD BarStyle() const { return static_cast<DWORD>(GetWindowLongW(HostedControl(bar.hwnd()), GWL_STYLE)); }
  // Timer ticks the current native bar receives in the given time.
  int TicksIn(DWORD milliseconds) {
    recorder.Clear();
    mHostPump::DispatchFor(milliseconds);
    return recorder.Count(HostedControl(bar.hwnd()), WM_TIMER);
  }
  int ProgressChildren() const {
    int n = 0;
    for (HWND w = GetWindow(bar.hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++n;
    return n;
  }

  cWatchdog watchdog{"a ProgressBar test", std::chrono::seconds(60)};
  cTestHost& host = cTestHost::Shared();
  cMessageRecorder recorder;
  cCreationHook hook{PROGRESS_CLASSW, [this](HWND w) {
                       recorder.Subclass(w);
                       return false;
                     }};
  ProgressBar bar;
};

TEST_F(ProgressBarTest, NewControlShowsRangeZeroToHundredAtZero) {
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Orientation(), 0);
  EXPECT_FALSE(bar.Smooth());
  EXPECT_FALSE(bar.Marquee());
  EXPECT_EQ(bar.Velocity(), 0);

  ASSERT_NE(HostedControl(bar.hwnd()), nullptr);
  EXPECT_NE(HostedControl(bar.hwnd()), bar.hwnd());
  EXPECT_EQ(GetParent(HostedControl(bar.hwnd())), bar.hwnd());
  EXPECT_EQ(GetDlgCtrlID(HostedControl(bar.hwnd())), 1);
  EXPECT_EQ(GetDlgCtrlID(bar.hwnd()), kControlId);
  EXPECT_EQ(ProgressChildren(), 1);
  EXPECT_EQ(BarStyle() & 0xFFFF00FFu, static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  const NativeState n = Native(HostedControl(bar.hwnd()));
  EXPECT_EQ(n.low, 0);
  EXPECT_EQ(n.high, 100);
  EXPECT_EQ(n.pos, 0);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 100), Pos(0)}));

  RECT client{};
  RECT inner{};
  GetClientRect(bar.hwnd(), &client);
  GetWindowRect(HostedControl(bar.hwnd()), &inner);
  MapWindowPoints(nullptr, bar.hwnd(), reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(inner.left, 0);
  EXPECT_EQ(inner.top, 0);
  EXPECT_EQ(inner.right, 297);
  EXPECT_EQ(inner.bottom, 17);
}

TEST_F(ProgressBarTest, MaxThenValuePutsTheRangeBeforeThePosition) {
  recorder.Clear();
  bar.Max(52428800);  // a 50 MiB file, as the copy engine reports it
  bar.Value(20971520);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 52428800), Pos(20971520)}));
  const NativeState n = Native(HostedControl(bar.hwnd()));
  EXPECT_EQ(n.high, 52428800);
  EXPECT_EQ(n.pos, 20971520);

  recorder.Clear();
  bar.Min(-10);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(-10, 52428800)})) << "Min sends the stored Max";
  bar.Value(bar.Value());
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(-10, 52428800), Pos(20971520)}))
      << "setting the same value sends again";
}

TEST_F(ProgressBarTest, PassesValuesOnUncheckedAndReadsThemBackUnchanged) {
  struct Case {
    const char* name;
    std::int32_t min;
    std::int32_t max;
    std::int32_t value;
  };
  const Case cases[] = {
      {"value above max", 0, 100, 150},
      {"value below min", 10, 20, -5},
      {"min above max", 50, 10, 30},
      {"empty range", 0, 0, 0},
      {"extremes", INT32_MIN, INT32_MAX, INT32_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t previousMax = bar.Max();
    recorder.Clear();
    bar.Min(c.min);
    bar.Max(c.max);
    bar.Value(c.value);
    EXPECT_EQ(bar.Min(), c.min);
    EXPECT_EQ(bar.Max(), c.max);
    EXPECT_EQ(bar.Value(), c.value);
    EXPECT_TRUE(FollowsSequence(Sent(), {Range(c.min, previousMax), Range(c.min, c.max),
                                         Pos(c.value)}))
        << "no swap, no clamp";
  }
}

TEST_F(ProgressBarTest, OrientationReplacesTheBarAndOnlyOneIsVertical) {
  bar.Max(400);
  bar.Value(160);
  const HWND own = bar.hwnd();
  for (std::int32_t orientation : {1, 0, 2, -1, 1}) {
    SCOPED_TRACE(orientation);
    const HWND old = HostedControl(bar.hwnd());
    recorder.Clear();
    bar.Orientation(orientation);
    EXPECT_EQ(bar.Orientation(), orientation);
    EXPECT_EQ(bar.hwnd(), own) << "hwnd stays across re-creation";
    EXPECT_FALSE(IsWindow(old)) << "the old bar is destroyed";
    ASSERT_NE(HostedControl(bar.hwnd()), nullptr);
    EXPECT_EQ(ProgressChildren(), 1);
    EXPECT_EQ((BarStyle() & PBS_VERTICAL) != 0, orientation == 1);
    EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 400), Pos(160)}));
    const NativeState n = Native(HostedControl(bar.hwnd()));
    EXPECT_EQ(n.high, 400);
    EXPECT_EQ(n.pos, 160);
  }
}

TEST_F(ProgressBarTest, SettingSmoothAgainStillReplacesTheBar) {
  bar.Value(40);
  bar.Smooth(true);
  const HWND first = HostedControl(bar.hwnd());
  EXPECT_TRUE(BarStyle() & PBS_SMOOTH);
  recorder.Clear();
  bar.Smooth(true);
  EXPECT_NE(HostedControl(bar.hwnd()), first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(BarStyle() & PBS_SMOOTH);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 100), Pos(40)}));
  EXPECT_EQ(Native(HostedControl(bar.hwnd())).pos, 40);
  bar.Smooth(false);
  EXPECT_FALSE(BarStyle() & PBS_SMOOTH);
}

TEST_F(ProgressBarTest, MarqueeAnimatesAtVelocityAndStopsWhenSwitchedOff) {
  bar.Value(30);
  recorder.Clear();
  bar.Marquee(true);
  EXPECT_TRUE(BarStyle() & PBS_MARQUEE);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 100), Pos(30), Marquee(0)}));
  EXPECT_GT(TicksIn(400), 0) << "velocity 0 runs at the common controls' default rate";

  recorder.Clear();
  bar.Velocity(50);
  EXPECT_TRUE(FollowsSequence(Sent(), {Marquee(50)}));
  const int ticks = TicksIn(600);
  EXPECT_GE(ticks, 3) << "about one step every 50 ms";
  EXPECT_LE(ticks, 14) << "not the default rate of 30 ms";

  const HWND animated = HostedControl(bar.hwnd());
  recorder.Clear();
  bar.Marquee(false);
  EXPECT_FALSE(IsWindow(animated));
  EXPECT_FALSE(BarStyle() & PBS_MARQUEE);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 100), Pos(30)})) << "no marquee message";
  EXPECT_EQ(TicksIn(300), 0);
  EXPECT_EQ(Native(HostedControl(bar.hwnd())).pos, 30) << "off shows the stored position";

  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const HWND before = HostedControl(bar.hwnd());
    bar.Marquee(true);
    EXPECT_NE(HostedControl(bar.hwnd()), before);
    EXPECT_GT(TicksIn(300), 0);
    bar.Marquee(false);
    EXPECT_EQ(TicksIn(200), 0);
  }
}

TEST_F(ProgressBarTest, VelocityWhileMarqueeIsOffIsOnlyStored) {
  recorder.Clear();
  bar.Velocity(75);
  EXPECT_EQ(bar.Velocity(), 75);
  EXPECT_TRUE(FollowsSequence(Sent(), {}));
  bar.Marquee(true);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 100), Pos(0), Marquee(75)}));
}

TEST_F(ProgressBarTest, ResizeFitsTheBarToTheControl) {
  const SIZE sizes[] = {{369, 30}, {20, 200}, {1, 1}, {297, 17}};
  for (const SIZE& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.cx << "x" << s.cy);
    MoveWindow(bar.hwnd(), 5, 7, s.cx, s.cy, TRUE);
    mHostPump::DispatchFor();
    RECT inner{};
    GetWindowRect(HostedControl(bar.hwnd()), &inner);
    MapWindowPoints(nullptr, bar.hwnd(), reinterpret_cast<POINT*>(&inner), 2);
    EXPECT_EQ(inner.left, 0);
    EXPECT_EQ(inner.top, 0);
    EXPECT_EQ(inner.right, s.cx);
    EXPECT_EQ(inner.bottom, s.cy);
  }
  // A re-created bar takes the control's current size.
  MoveWindow(bar.hwnd(), 5, 7, 150, 22, TRUE);
  bar.Orientation(1);
  RECT client{};
  GetClientRect(HostedControl(bar.hwnd()), &client);
  EXPECT_EQ(client.right, 150);
  EXPECT_EQ(client.bottom, 22);
}

TEST_F(ProgressBarTest, SurvivesAFailedCreationOfTheNativeBar) {
  bar.Max(500);
  bar.Value(200);
  hook.Block(true);
  bar.Smooth(true);
  EXPECT_EQ(hook.Refused(), 1);
  EXPECT_EQ(HostedControl(bar.hwnd()), nullptr);
  EXPECT_EQ(ProgressChildren(), 0);
  EXPECT_TRUE(bar.Smooth());

  recorder.Clear();
  bar.Value(300);
  bar.Max(900);
  bar.Min(7);
  bar.Velocity(40);
  EXPECT_EQ(bar.Value(), 200) << "without a bar the setters do nothing";
  EXPECT_EQ(bar.Max(), 500);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Velocity(), 40);
  EXPECT_TRUE(recorder.All().empty()) << "no message reached any window";
  MoveWindow(bar.hwnd(), 24, 300, 200, 20, TRUE);  // resize without a bar: nothing
  mHostPump::DispatchFor();

  bar.Marquee(true);  // still refused
  EXPECT_EQ(HostedControl(bar.hwnd()), nullptr);
  hook.Block(false);
  recorder.Clear();
  bar.Orientation(1);  // the next creation succeeds and applies the stored values
  ASSERT_NE(HostedControl(bar.hwnd()), nullptr);
  constexpr DWORD kAllStyles = PBS_VERTICAL | PBS_SMOOTH | PBS_MARQUEE;
  EXPECT_EQ(BarStyle() & kAllStyles, kAllStyles);
  EXPECT_TRUE(FollowsSequence(Sent(), {Range(0, 500), Pos(200), Marquee(40)}));
  RECT client{};
  GetClientRect(HostedControl(bar.hwnd()), &client);
  EXPECT_EQ(client.right, 200);
}

TEST(ProgressBarCreation, AFailedFirstCreationLeavesTheDefaults) {
  cWatchdog watchdog{"a ProgressBar test", std::chrono::seconds(30)};
  cCreationHook hook{PROGRESS_CLASSW, nullptr};
  hook.Block(true);
  ProgressBar bar;
  bar.Create(cTestHost::Shared().Handle(), 1, 0, 0, 100, 20);
  ASSERT_NE(bar.hwnd(), nullptr);
  EXPECT_EQ(HostedControl(bar.hwnd()), nullptr);
  bar.Value(10);
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_EQ(bar.Max(), 100);
  hook.Block(false);
  bar.Marquee(false);
  ASSERT_NE(HostedControl(bar.hwnd()), nullptr);
  EXPECT_EQ(Native(HostedControl(bar.hwnd())).high, 100);
}

TEST(ProgressBarLifetime, TerminateDestroysTheBar) {
  cWatchdog watchdog{"a ProgressBar test", std::chrono::seconds(30)};
  cMessageRecorder recorder;
  HWND own = nullptr;
  HWND native = nullptr;
  {
    ProgressBar bar;
    bar.Create(cTestHost::Shared().Handle(), 1, 0, 0, 100, 20);
    own = bar.hwnd();
    native = HostedControl(bar.hwnd());
    recorder.Subclass(native);
  }
  EXPECT_FALSE(IsWindow(own));
  EXPECT_FALSE(IsWindow(native));
  EXPECT_EQ(recorder.Count(native, WM_DESTROY), 1);
}

TEST(ProgressBarLifetime, GoesWithItsParent) {
  cTestHost host(200, 100);
  ProgressBar bar;
  bar.Create(host.Handle(), 1, 0, 0, 100, 20);
  const HWND native = HostedControl(bar.hwnd());
  host.Destroy();
  EXPECT_FALSE(IsWindow(native));
  EXPECT_EQ(bar.hwnd(), nullptr);
  EXPECT_EQ(HostedControl(bar.hwnd()), nullptr);
}

TEST(CommonControls, TheEmbeddedManifestSelectsVersion6) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
  std::wstring lower = path;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  EXPECT_NE(lower.find(L"microsoft.windows.common-controls"), std::wstring::npos)
      << std::string(lower.begin(), lower.end());
  EXPECT_NE(lower.find(L"_6.0."), std::wstring::npos);
}

}  // namespace
