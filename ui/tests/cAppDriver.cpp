#include "cAppDriver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include <stdexcept>
#include <thread>

#include "ControlIds.h"
#include "cTestDir.h"
#include "mTestWindowTools.h"
#include "mText.h"

namespace {

using Clock = std::chrono::steady_clock;

// The open dialog's file-name box sits inside the control with this id.
constexpr int kFileNameControl = 0x47C;

// The header of a 32-bit-per-pixel bitmap; a negative `height` puts the top row first.
BITMAPINFO Info32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

void Fail(const std::string& what) { throw std::runtime_error(what); }

}  // namespace

void Settle(std::chrono::milliseconds time) { std::this_thread::sleep_for(time); }

std::wstring WindowClass(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}


cAppDriver::cAppDriver(const std::wstring& arguments, const std::wstring& appData)
    : m_AppData(appData.empty() ? m_OwnAppData.Root() : appData) {
  std::wstring command = L"\"" + FromHostPath(OMB_APP_PATH) + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  m_Process = mTestWindowTools::StartProgram(command);
  WaitForInputIdle(m_Process.hProcess, 30000);
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (!m_Window && Clock::now() < deadline) {
    for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId))
      if (WindowClass(w) == kBackupWindowClass && IsWindowVisible(w)) m_Window = w;
    if (!m_Window) Settle(std::chrono::milliseconds(100));
  }
  if (!m_Window) Fail("the program's window did not appear");
  Settle();
}

cAppDriver::~cAppDriver() {
  if (WaitForSingleObject(m_Process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_Process.hProcess, 1);
    WaitForSingleObject(m_Process.hProcess, 5000);
  }
  CloseHandle(m_Process.hThread);
  CloseHandle(m_Process.hProcess);
}

DWORD cAppDriver::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(m_Process.hProcess, &code);
  return code;
}

HWND cAppDriver::Control(int id) const { return GetDlgItem(m_Window, id); }

HWND cAppDriver::ListBox() const { return FindWindowExW(Control(IDC_LIST1), nullptr, L"ListBox", nullptr); }

void cAppDriver::Click(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

void cAppDriver::ClickLabel(int id) const {
  HWND label = Control(id);
  PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void cAppDriver::SetText(int id, const std::wstring& text) const {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring cAppDriver::Text(HWND window) const {
  // Room to spare: the program may lengthen the text between the two messages.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 256, L'\0');
  const auto copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::vector<std::wstring> cAppDriver::ListEntries() const {
  HWND list = ListBox();
  std::vector<std::wstring> entries;
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    entries.push_back(text);
  }
  return entries;
}

int cAppDriver::BarPosition() const {
  HWND bar = FindWindowExW(Control(IDC_PROGRESSBAR1), nullptr, PROGRESS_CLASSW, nullptr);
  return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
}

int cAppDriver::BarMax() const {
  HWND bar = FindWindowExW(Control(IDC_PROGRESSBAR1), nullptr, PROGRESS_CLASSW, nullptr);
  return static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
}

HWND cAppDriver::WaitForDialog(const std::function<bool(HWND)>& matches, std::chrono::milliseconds timeout) const {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId))
      if (WindowClass(w) == L"#32770" && IsWindowVisible(w) && matches(w)) {
        Settle();
        return w;
      }
    Settle(std::chrono::milliseconds(100));
  }
  std::string seen;
  for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId)) {
    if (!IsWindowVisible(w)) continue;
    seen += "\n  " + mText::ToUtf8(WindowClass(w)) + " \"" + mText::ToUtf8(Text(w)) + "\":";
    for (HWND child : mTestWindowTools::Children(w))
      seen += " " + mText::ToUtf8(WindowClass(child)) + "#" + std::to_string(GetDlgCtrlID(child));
  }
  Fail("the expected dialog did not appear; the program shows:" + seen);
  return nullptr;
}

HWND cAppDriver::WaitForMessageBox() const {
  return WaitForDialog([this](HWND w) { return Text(w) == L"工程1"; });  // the program's title
}

HWND cAppDriver::FindMessageBox() const {
  for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId))
    if (WindowClass(w) == L"#32770" && IsWindowVisible(w) && Text(w) == L"工程1") return w;
  return nullptr;
}

std::wstring cAppDriver::MessageText(HWND box) const {
  for (HWND child : mTestWindowTools::Children(box)) {
    if (WindowClass(child) != L"Static") continue;
    const auto style = GetWindowLongW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) continue;
    const std::wstring text = Text(child);
    if (!text.empty()) return text;
  }
  return L"";
}

bool cAppDriver::MessageHasIcon(HWND box) const {
  for (HWND child : mTestWindowTools::Children(box)) {
    if (WindowClass(child) != L"Static" || !IsWindowVisible(child)) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageW(child, STM_GETICON, 0, 0) != 0)
      return true;
  }
  return false;
}

namespace {

// The pixels of a screen rectangle, top row first.
std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFO info = Info32(w, -h);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// A standard icon drawn at the given size over a plain background, top row first.
std::vector<std::uint32_t> IconPixels(const wchar_t* icon, int w, int h, std::uint32_t background) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h), background);
  BITMAPINFO info = Info32(w, -h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
  DrawIconEx(memory, 0, 0, LoadIconW(nullptr, icon), w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  memcpy(pixels.data(), bits, pixels.size() * sizeof(std::uint32_t));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

long long Difference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  long long sum = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8)
      sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
  return sum;
}

}  // namespace

const wchar_t* cAppDriver::MessageIcon(HWND box) const {
  HWND iconControl = nullptr;
  for (HWND child : mTestWindowTools::Children(box))
    if (WindowClass(child) == L"Static" && IsWindowVisible(child) &&
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0) != 0)
      iconControl = child;
  if (!iconControl) return nullptr;
  RECT r{};
  GetWindowRect(iconControl, &r);
  const std::vector<std::uint32_t> shown = ScreenPixels(r);
  if (shown.empty()) return nullptr;
  // The corner of a standard icon is transparent: it shows the box's background.
  const std::uint32_t background = shown.front();
  const wchar_t* best = nullptr;
  long long bestDifference = std::numeric_limits<long long>::max(), runnerUp = bestDifference;
  for (const wchar_t* icon : {IDI_ERROR, IDI_WARNING, IDI_INFORMATION, IDI_QUESTION}) {
    const long long difference = Difference(shown, IconPixels(icon, r.right - r.left, r.bottom - r.top, background));
    if (difference < bestDifference) {
      runnerUp = bestDifference;
      best = icon;
      bestDifference = difference;
    } else if (difference < runnerUp) {
      runnerUp = difference;
    }
  }
  // A clear likeness only: another picture is none of the standard icons.
  return bestDifference * 4 < runnerUp ? best : nullptr;
}

void cAppDriver::PressButton(HWND dialog, int id) const {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND cAppDriver::RunBackup() const {
  Click(IDC_COMMAND3);
  return WaitForMessageBox();
}

void cAppDriver::Acknowledge(HWND box) const {
  PressButton(box, IDOK);
  WaitUntilGone(box);
}

void cAppDriver::WaitUntilGone(HWND window) const {
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (IsWindow(window) && IsWindowVisible(window) && Clock::now() < deadline) Settle(std::chrono::milliseconds(50));
  if (IsWindow(window) && IsWindowVisible(window)) Fail("a dialog did not close");
  Settle();
}

void cAppDriver::PickFiles(const std::wstring& folder, const std::vector<std::wstring>& names) const {
  auto nameBox = [](HWND w) -> HWND {
    HWND control = GetDlgItem(w, kFileNameControl);
    if (!control) return nullptr;
    if (WindowClass(control) == L"Edit") return control;
    for (HWND inner : mTestWindowTools::Children(control))  // ComboBoxEx32 > ComboBox > Edit
      if (WindowClass(inner) == L"Edit") return inner;
    return nullptr;
  };
  HWND dialog = WaitForDialog([&](HWND w) { return nameBox(w) != nullptr; });
  HWND edit = nameBox(dialog);
  auto type = [&](const std::wstring& text) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PressButton(dialog, IDOK);
  };
  type(folder);
  // The dialog empties its name box once it has moved into the typed folder.
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (!Text(edit).empty() && Clock::now() < deadline) Settle(std::chrono::milliseconds(50));
  Settle();
  std::wstring selection;
  for (const auto& name : names) selection += (selection.empty() ? L"\"" : L" \"") + name + L"\"";
  if (names.size() == 1) selection = names.front();
  type(selection);
  WaitUntilGone(dialog);
}

void cAppDriver::DropFiles(const std::vector<std::wstring>& paths) const {
  std::wstring names;
  for (const auto& path : paths) names += path + L'\0';
  names += L'\0';
  std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  memcpy(block.data(), &header, sizeof header);
  memcpy(block.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
  // The block stays until the program ends: its DragFinish cannot free memory that did not
  // come from its heap, and it may still be reading the block when we would.
  void* remote = VirtualAllocEx(m_Process.hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) Fail("cannot place the drop in the program's memory");
  if (!WriteProcessMemory(m_Process.hProcess, remote, block.data(), block.size(), nullptr))
    Fail("cannot write the drop into the program's memory");
  HWND list = ListBox();
  const auto before = SendMessageW(list, LB_GETCOUNT, 0, 0);
  // Posted, as the system delivers a drop: a drop that ends in a message must not block us.
  PostMessageW(m_Window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  auto showsMessage = [this] {
    for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId))
      if (WindowClass(w) == L"#32770" && IsWindowVisible(w)) return true;
    return false;
  };
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (SendMessageW(list, LB_GETCOUNT, 0, 0) == before && !showsMessage() && Clock::now() < deadline)
    Settle(std::chrono::milliseconds(20));
  Settle();
}

bool cAppDriver::WaitForExit(std::chrono::milliseconds timeout) const {
  return WaitForSingleObject(m_Process.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void cAppDriver::Kill() const {
  TerminateProcess(m_Process.hProcess, 9);
  WaitForSingleObject(m_Process.hProcess, 10000);
}

void cAppDriver::Screenshot(const std::wstring& name, HWND window) const {
  RECT r{};
  GetWindowRect(window ? window : m_Window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = Info32(w, h);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  const DWORD size = static_cast<DWORD>(w * h * 4);
  file.bfSize = file.bfOffBits + size;
  const std::wstring path = FromHostPath(OMB_ARTIFACT_DIR) + L"\\" + name + L".bmp";
  CreateDirectoryW(FromHostPath(OMB_ARTIFACT_DIR).c_str(), nullptr);
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(out, bits, size, &written, nullptr);
    CloseHandle(out);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}
