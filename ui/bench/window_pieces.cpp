// Times the pieces of the window's backup run one by one, to tell where a slow run's time
// goes: the engine with and without its flush, its temporary file's rename and name lookups,
// the run's message pump, the progress label and bar, List1's "set text" that marks an
// entry and the native list box under it, the drop's pieces, and the run's loop rebuilt
// with less drawing and fewer lookups.
// Usage: window_pieces [folder] [files] [engine|window|list|drop|run]
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "ControlIds.h"
#include "cCopyFile.h"
#include "cDialogWatcher.h"
#include "cFileSet.h"
#include "cHostedWindow.h"
#include "cListHost.h"
#include "cPlatformCopy.h"
#include "cPlatformError.h"
#include "cRunReplica.h"
#include "cRunPump.h"
#include "cScratchFolder.h"
#include "mBenchTiming.h"
#include "mDropFiles.h"
#include "mLeanCopy.h"
#include "mText.h"

namespace {

void Report(const char* piece, int calls, double seconds) {
  std::printf("%-58s %8.3f ms per call (%d calls, %.2f s)\n", piece, seconds * 1e3 / calls, calls, seconds);
  std::fflush(stdout);
}

void Time(const char* piece, int calls, const std::function<void(std::size_t)>& action) {
  const auto start = mBenchTiming::Clock::now();
  for (std::size_t i = 0; i < static_cast<std::size_t>(calls); ++i) action(i);
  Report(piece, calls, mBenchTiming::SecondsSince(start));
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

void EnginePieces(const cFileSet& sources, const cScratchFolder& target) {
  const auto& paths = sources.Paths();
  const int n = static_cast<int>(paths.size());
  Time("CopyFileW + FlushFileBuffers", n, [&](std::size_t i) { cPlatformCopy::Copy(paths[i], target.Child(NameOf(paths[i])), true); });
  target.Reset();
  cCopyFile flushed(nullptr);
  flushed.BufferSize(0x400000);
  Time("cCopyFile::CopyFile, flushed (as the window copies)", n, [&](std::size_t i) { flushed.CopyFile(paths[i], target.Child(NameOf(paths[i]))); });
  target.Reset();
  cCopyFile unflushed(nullptr, cCopyFile::Options{false});
  unflushed.BufferSize(0x400000);
  Time("cCopyFile::CopyFile, not flushed", n, [&](std::size_t i) { unflushed.CopyFile(paths[i], target.Child(NameOf(paths[i]))); });
  Time("cCopyFile::CopyFile, not flushed, over existing copies", n, [&](std::size_t i) { unflushed.CopyFile(paths[i], target.Child(NameOf(paths[i]))); });
  target.Reset();
  for (const auto& p : paths) cPlatformCopy::Copy(p, target.Child(L"~" + NameOf(p)), false);
  target.Reset();
  Time("the engine's steps with 3 name lookups instead of 5, flushed", n, [&](std::size_t i) { mLeanCopy::Copy(paths[i], target.Child(NameOf(paths[i]))); });
  target.Reset();
  for (const auto& p : paths) cPlatformCopy::Copy(p, target.Child(L"~" + NameOf(p)), false);
  Time("MoveFileExW REPLACE_EXISTING | WRITE_THROUGH", n, [&](std::size_t i) {
    const std::wstring from = target.Child(L"~" + NameOf(paths[i]));
    if (!MoveFileExW(from.c_str(), target.Child(NameOf(paths[i])).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw cPlatformError::FromLastError(L"rename", from, L"MoveFileExW");
  });
  Time("GetFileAttributesW of a missing name in that folder", n, [&](std::size_t i) {
    GetFileAttributesW(target.Child(L"~missing" + std::to_wstring(i)).c_str());
  });
}

void WindowPieces(cDialogWatcher& watcher, const cFileSet& sources) {
  const int n = static_cast<int>(sources.Paths().size());
  cHostedWindow host(watcher);
  host.Drop(sources.Paths());
  Time("cRunPump::Pump with nothing pending", n, [&](std::size_t) { cRunPump::Pump(); });
  HWND label = host.Child(IDC_LABEL3);
  HWND window = GetParent(label);
  Time("Label3 text + RedrawWindow(RDW_UPDATENOW), as each file", n, [&](std::size_t i) {
    SetWindowTextW(label, (L"备份进度：" + std::to_wstring(i + 1) + L"/" + std::to_wstring(n)).c_str());
    RECT r{};
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(window, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
  HWND bar = FindWindowExW(host.Child(IDC_PROGRESSBAR1), nullptr, PROGRESS_CLASSW, nullptr);
  Time("ProgressBar range + position, no pump", n, [&](std::size_t i) {
    SendMessageW(bar, PBM_SETRANGE32, 0, 4096);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(i % 2 ? 4096 : 0), 0);
  });
  Time("ProgressBar range + position, both unchanged, no pump", n, [&](std::size_t) {
    SendMessageW(bar, PBM_SETRANGE32, 0, 4096);
    SendMessageW(bar, PBM_SETPOS, 4096, 0);
  });
  Time("ProgressBar PBM_SETRANGE32 alone, changed, no pump", n, [&](std::size_t i) {
    SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(4096 + i % 2));
  });
  Time("ProgressBar PBM_SETPOS alone, changed, no pump", n, [&](std::size_t i) {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(i % 2 ? 4096 : 0), 0);
  });
  Time("ProgressBar range + position, changed, bar's redraw off", n, [&](std::size_t i) {
    SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
    SendMessageW(bar, PBM_SETRANGE32, 0, 4096);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(i % 2 ? 4096 : 0), 0);
    SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
  });
  Time("ProgressBar range + position, then cRunPump::Pump", n, [&](std::size_t i) {
    SendMessageW(bar, PBM_SETRANGE32, 0, 4096);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(i % 2 ? 4096 : 0), 0);
    cRunPump::Pump();
  });
  HWND list = host.List();
  Time("LB_SETTOPINDEX to each entry in turn, then cRunPump::Pump", n, [&](std::size_t i) {
    SendMessageW(list, LB_SETTOPINDEX, i, 0);
    cRunPump::Pump();
  });
}

void ListPieces(const cFileSet& sources) {
  const auto& paths = sources.Paths();
  const int n = static_cast<int>(paths.size());
  cListHost host;
  for (const auto& p : paths) host.List().AddItem(p, false);
  ZListBox& list = host.List();
  Time("ZListBox::List read", n, [&](std::size_t i) { (void)list.List(static_cast<std::int16_t>(i)); });
  Time("ZListBox::List set (mark an entry)", n, [&](std::size_t i) {
    const auto index = static_cast<std::int16_t>(i);
    list.List(index, L"\u221A" + list.List(index));
  });
  Time("ZListBox::List set, then cRunPump::Pump", n, [&](std::size_t i) {
    const auto index = static_cast<std::int16_t>(i);
    list.List(index, list.List(index).substr(1));
    cRunPump::Pump();
  });
  Time("ZListBox::AddItem without scroll (entry past 2000)", 500, [&](std::size_t i) { list.AddItem(paths[i], false); });
  Time("ZListBox::AddItem with scroll (entry past 2500)", 100, [&](std::size_t i) { list.AddItem(paths[i]); });
  Time("WM_VSCROLL SB_BOTTOM alone", 100, [&](std::size_t) { SendMessageW(list.ListHwnd(), WM_VSCROLL, SB_BOTTOM, 0); });
  HWND lb = list.ListHwnd();
  Time("list box: InvalidateRect + UpdateWindow (a full repaint)", 100, [&](std::size_t) {
    InvalidateRect(lb, nullptr, TRUE);
    UpdateWindow(lb);
  });
  Time("list box: SetScrollInfo of its bar, redrawn", 100, [&](std::size_t i) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, static_cast<int>(i % 2), 0};
    SetScrollInfo(lb, SB_HORZ, &info, TRUE);
  });
  Time("list box: GetDC, select font, DrawTextW DT_CALCRECT", 100, [&](std::size_t i) {
    HDC dc = GetDC(lb);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(lb, WM_GETFONT, 0, 0)));
    RECT r{};
    DrawTextW(dc, paths[i].c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(lb, dc);
  });
  const auto count = static_cast<std::size_t>(SendMessageW(lb, LB_GETCOUNT, 0, 0));
  const std::size_t hidden = count / 2;  // far from the entries in view at the end
  Time("list box: SetScrollInfo with unchanged values, redrawn", 100, [&](std::size_t) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(lb, SB_VERT, &info);
    SetScrollInfo(lb, SB_VERT, &info, TRUE);
  });
  Time("list box: WM_SETREDRAW FALSE, then TRUE", 100, [&](std::size_t) {
    SendMessageW(lb, WM_SETREDRAW, FALSE, 0);
    SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
  });
  Time("list box: LB_DELETESTRING + LB_INSERTSTRING, entry out of view", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_DELETESTRING, hidden + i, 0);
    SendMessageW(lb, LB_INSERTSTRING, hidden + i, reinterpret_cast<LPARAM>(paths[i].c_str()));
  });
  Time("list box: the same, entry in view", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_DELETESTRING, count - 1 - i % 10, 0);
    SendMessageW(lb, LB_INSERTSTRING, count - 1 - i % 10, reinterpret_cast<LPARAM>(paths[i].c_str()));
  });
  SendMessageW(lb, WM_SETREDRAW, FALSE, 0);
  Time("list box: the same, redraw off", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_DELETESTRING, count - 1 - i % 10, 0);
    SendMessageW(lb, LB_INSERTSTRING, count - 1 - i % 10, reinterpret_cast<LPARAM>(paths[i].c_str()));
  });
  Time("list box: LB_SETTOPINDEX by one entry, redraw off", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_SETTOPINDEX, hidden + i, 0);
  });
  SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
  Time("list box: LB_SETTOPINDEX by one entry, no pump", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_SETTOPINDEX, hidden + i, 0);
  });
  Time("list box: an entry's rectangle repainted", 100, [&](std::size_t i) {
    RECT item{};
    SendMessageW(lb, LB_GETITEMRECT, hidden + i % 10, reinterpret_cast<LPARAM>(&item));
    InvalidateRect(lb, &item, TRUE);
    UpdateWindow(lb);
  });
  // Wine 8 draws with its "Light" visual style by default; without a theme the bar is drawn
  // the classic way.
  SetWindowTheme(lb, L"", L"");
  Time("list box: SetScrollInfo of its bar, redrawn, theme off", 100, [&](std::size_t i) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, static_cast<int>(i % 2), 0};
    SetScrollInfo(lb, SB_HORZ, &info, TRUE);
  });
  Time("list box: LB_DELETESTRING + LB_INSERTSTRING, theme off", 100, [&](std::size_t i) {
    SendMessageW(lb, LB_DELETESTRING, hidden + i, 0);
    SendMessageW(lb, LB_INSERTSTRING, hidden + i, reinterpret_cast<LPARAM>(paths[i].c_str()));
  });
  ShowWindow(host.hwnd(), SW_HIDE);
  Time("ZListBox::AddItem with scroll, host hidden", 100, [&](std::size_t i) { list.AddItem(paths[i]); });
}

void DropPieces(const std::wstring& folder) {
  const cFileSet files(folder + L"\\pieces-list", 10000, 0);
  const auto& paths = files.Paths();
  const int n = static_cast<int>(paths.size());
  HDROP drop = mDropFiles::Make(paths);
  Time("DragQueryFileW length + text, index by index, of 10000", n, [&](std::size_t i) {
    std::wstring path(DragQueryFileW(drop, static_cast<UINT>(i), nullptr, 0) + 1, L'\0');
    DragQueryFileW(drop, static_cast<UINT>(i), path.data(), static_cast<UINT>(path.size()));
  });
  Time("DragQueryFileW length + text, indexes 0 to 999", 1000, [&](std::size_t i) {
    std::wstring path(DragQueryFileW(drop, static_cast<UINT>(i), nullptr, 0) + 1, L'\0');
    DragQueryFileW(drop, static_cast<UINT>(i), path.data(), static_cast<UINT>(path.size()));
  });
  Time("DragQueryFileW length + text, indexes 9000 to 9999", 1000, [&](std::size_t i) {
    std::wstring path(DragQueryFileW(drop, static_cast<UINT>(9000 + i), nullptr, 0) + 1, L'\0');
    DragQueryFileW(drop, static_cast<UINT>(9000 + i), path.data(), static_cast<UINT>(path.size()));
  });
  Time("the drop's names read by walking its block once, of 10000", 1, [&](std::size_t) {
    const auto* block = static_cast<const DROPFILES*>(GlobalLock(drop));
    const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(block) + block->pFiles);
    std::vector<std::wstring> names;
    while (*name) {
      names.emplace_back(name);
      name += names.back().size() + 1;
    }
    GlobalUnlock(drop);
    if (names.size() != paths.size()) throw std::runtime_error("the walk found " + std::to_string(names.size()) + " names");
  });
  DragFinish(drop);
  Time("GetFileAttributesW of an existing file", n, [&](std::size_t i) { GetFileAttributesW(paths[i].c_str()); });
  cListHost host;
  SendMessageW(host.List().ListHwnd(), WM_SETREDRAW, FALSE, 0);
  Time("ZListBox::AddItem, redraw off, no scroll, to 10000", n, [&](std::size_t i) { host.List().AddItem(paths[i], false); });
  SendMessageW(host.List().ListHwnd(), WM_SETREDRAW, TRUE, 0);
  host.List().Clear();
  SendMessageW(host.List().ListHwnd(), WM_SETREDRAW, FALSE, 0);
  Time("LB_ADDSTRING alone, redraw off, to 10000", n, [&](std::size_t i) {
    SendMessageW(host.List().ListHwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(paths[i].c_str()));
  });
  SendMessageW(host.List().ListHwnd(), WM_SETREDRAW, TRUE, 0);
}

void RunPieces(cDialogWatcher& watcher, const cFileSet& sources, const cScratchFolder& target) {
  const int n = static_cast<int>(sources.Paths().size());
  {
    cHostedWindow host(watcher);
    host.Drop(sources.Paths());
    Report("the window's own run, per file", n, host.Run(target.Path()));
  }
  target.Reset();
  struct Variant {
    const char* what;
    cRunReplica::Mode mode;
    int intervalMs;
    bool lean;
  };
  const Variant variants[] = {
      {"its loop rebuilt, drawing as it does", cRunReplica::Mode::kCurrent, 0, false},
      {"the loop drawing List1 and Label3 every 100 ms", cRunReplica::Mode::kThrottled, 100, false},
      {"the loop drawing List1 and Label3 every 250 ms", cRunReplica::Mode::kThrottled, 250, false},
      {"drawing as it does, engine with 3 lookups", cRunReplica::Mode::kCurrent, 0, true},
      {"drawing every 100 ms, engine with 3 lookups", cRunReplica::Mode::kThrottled, 100, true},
      {"drawing every 250 ms, engine with 3 lookups", cRunReplica::Mode::kThrottled, 250, true},
  };
  for (const auto& v : variants) {
    // CopyFileW with a flush just before each variant, so that each ratio compares two
    // neighbouring measurements, whatever else the machine is doing.
    const auto platformStart = mBenchTiming::Clock::now();
    for (const auto& p : sources.Paths()) cPlatformCopy::Copy(p, target.Child(NameOf(p)), true);
    const double platform = mBenchTiming::SecondsSince(platformStart);
    target.Reset();
    cHostedWindow host(watcher);
    host.Drop(sources.Paths());
    cRunReplica replica(host, v.mode, std::chrono::milliseconds(v.intervalMs));
    cCopyFileEvents& events = replica;
    cCopyFile engine(&replica);
    engine.BufferSize(0x400000);
    const cRunReplica::Copy copy = [&](const std::wstring& from, const std::wstring& to) {
      if (!v.lean) return engine.CopyFile(from, to);
      mLeanCopy::Copy(from, to);
      events.CopyProgress(4096, 4096);
      events.CopyComplete(4096);
    };
    const double seconds = replica.Run(sources.Paths(), target.Path(), copy);
    Report(v.what, n, seconds);
    std::printf("%-58s %8.2f (CopyFileW + flush just before: %.3f ms per file)\n", "  ratio to CopyFileW + flush", platform / seconds,
                platform * 1e3 / n);
    host.ExpectAllMarked(n);
    target.Reset();
  }
}

bool Wanted(const std::string& section, const std::string& wanted) { return wanted.empty() || wanted == section; }

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::wstring folder = argc > 1 ? mText::FromUtf8(argv[1]) : L".";
    const int files = argc > 2 ? std::max(100, std::atoi(argv[2])) : 2000;
    cDialogWatcher watcher;
    const cFileSet sources(folder + L"\\pieces-sources", files, 4096);
    const cScratchFolder target(folder + L"\\pieces-target");
    const std::string wanted = argc > 3 ? argv[3] : "";
    if (Wanted("engine", wanted)) EnginePieces(sources, target);
    if (Wanted("window", wanted)) WindowPieces(watcher, sources);
    if (Wanted("list", wanted)) ListPieces(sources);
    if (Wanted("drop", wanted)) DropPieces(folder);
    if (Wanted("run", wanted)) RunPieces(watcher, sources, target);
    return 0;
  } catch (const cPlatformError& error) {
    std::fprintf(stderr, "window_pieces: %s\n", mText::ToUtf8(error.Describe()).c_str());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "window_pieces: %s\n", error.what());
    return 1;
  }
}
