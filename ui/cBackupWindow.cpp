#include "cBackupWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

#include "BackupLayout.h"
#include "ControlIds.h"
#include "cControlWindow.h"
#include "cLayoutProperties.h"
#include "cMemoryDC.h"
#include "cPlatformError.h"
#include "cRedrawOff.h"
#include "mMessagePump.h"
#include "cSelectedFont.h"
#include "cWindowDc.h"
#include "mBackupNames.h"
#include "mDropList.h"
#include "mFileHlp.h"
#include "mManifest.h"
#include "mProgressScale.h"
#include "mText.h"
#include "mUnits.h"
#include "mUserMessage.h"
#include "resource.h"

namespace {

constexpr std::int32_t kDialogFlags = 0x80200;  // OFN_EXPLORER | OFN_ALLOWMULTISELECT
constexpr std::int32_t kChunkSize = 0x400000;
// Room for a selection of a thousand files with long names in one pick.
constexpr std::int32_t kOpenBufferChars = 0x40000;
constexpr wchar_t kBrowsePrompt[] = L"备份到...";
constexpr wchar_t kDoneMessage[] = L"完成备份！";
constexpr wchar_t kNoFolderMessage[] = L"请先选择或输入备份目标文件夹。";
constexpr wchar_t kProgressCaption[] = L"备份进度：";
constexpr wchar_t kOnlyFilesMessage[] = L"只能添加文件，文件夹不能添加：";
constexpr wchar_t kRunBrokenMessage[] = L"备份已中断，其余文件没有复制。";
constexpr COLORREF kCloseColour = RGB(0, 128, 128);
constexpr COLORREF kGroundColour = RGB(234, 234, 234);  // the skin's own, around its panel
constexpr std::size_t kMaxEntries = cBackupList::kMaxEntries;
// How often a run redraws the list and the caption: often enough to look live.
constexpr auto kRunRedrawInterval = std::chrono::milliseconds(250);
// The header band above the white panel moves the window.
constexpr int kHeaderBottomTwips = 77 * 15;

// Carries, nested, an error of the window's own event handlers out through the copy engine,
// so that the run tells it from a failure of the file being copied.
struct cWindowFailure : std::runtime_error {
  cWindowFailure() : std::runtime_error("the backup window failed during a copy") {}
};

// The error a cWindowFailure carries, or the error itself.
std::exception_ptr Unwrapped(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::nested_exception& nested) {
    return nested.nested_ptr();
  } catch (...) {
    return error;
  }
}

// The paths of a drop, read from its block in one pass. Only names in the ANSI code page
// (from old programs) are asked of the shell one at a time, which converts them.
std::vector<std::wstring> DroppedPaths(HDROP drop) {
  const auto memory = reinterpret_cast<HGLOBAL>(drop);
  const SIZE_T size = GlobalSize(memory);
  if (const void* block = size ? GlobalLock(memory) : nullptr) {
    struct Unlock {
      HGLOBAL memory;
      ~Unlock() { GlobalUnlock(memory); }
    } unlock{memory};
    if (const auto names = mDropList::WideNames({static_cast<const std::byte*>(block), size})) {
      std::vector<std::wstring> paths;
      paths.reserve(names->size());
      for (const auto& name : *names) paths.emplace_back(name.begin(), name.end());
      return paths;
    }
  }
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(std::move(path));
  }
  return paths;
}

[[noreturn]] void ThrowLastError(const wchar_t* call, const wchar_t* subject) {
  throw cPlatformError::FromLastError(L"backup window", subject, call);
}

cGdiObject<HFONT> MakeFont(int dpiY, int tenthsOfPoint, bool underline, const wchar_t* face) {
  const int height = -MulDiv(tenthsOfPoint, dpiY, 720);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, GB2312_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face);
  if (!font) ThrowLastError(L"CreateFontW", face);
  return cGdiObject<HFONT>(font);
}

// Windows file names compare without regard to case.
std::wstring FoldCase(const std::wstring& name) {
  std::wstring folded = name;
  if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

}  // namespace

cBackupWindow::cBackupWindow(HINSTANCE instance) : m_hInstance(instance), m_List(FoldCase) {
  Form_Initialize();

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBackupWindowClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    ThrowLastError(L"RegisterClassExW", kBackupWindowClass);

  m_DpiX = mUnits::LogicalPixelsPerInchX();
  m_DpiY = mUnits::LogicalPixelsPerInchY();

  const int width = mUnits::TwipsToPixels(BackupLayout::kClientWidth, m_DpiX);
  const int height = mUnits::TwipsToPixels(BackupLayout::kClientHeight, m_DpiY);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;

  // WS_POPUP with no border: no caption, frame or system menu; the skin is the whole window.
  m_hWnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, kBackupWindowClass, kBackupWindowCaption,
                           WS_POPUP | WS_CLIPSIBLINGS | WS_MINIMIZEBOX, x, y, width, height,
                           nullptr, nullptr, instance, this);
  // WM_CREATE keeps its error: that, not CreateWindowExW's answer, is why there is no window.
  if (m_CreateError) std::rethrow_exception(m_CreateError);
  if (!m_hWnd) ThrowLastError(L"CreateWindowExW", kBackupWindowClass);
  // The taskbar and the task switcher ask the window itself for its icons.
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(wc.hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(wc.hIconSm));
}

cBackupWindow::~cBackupWindow() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

int cBackupWindow::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Dialog navigation gives the window its tab order without being a dialog.
    if (!(m_hWnd && IsDialogMessageW(m_hWnd, &msg))) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    TakeParkedError(L"更新窗口控件");
  }
  return static_cast<int>(msg.wParam);
}

// The controls keep what their handlers threw for the message loop; here it is shown.
void cBackupWindow::TakeParkedError(const wchar_t* action) {
  try {
    cControlWindow::RethrowPendingError();
  } catch (...) {
    ReportError(action, std::current_exception());
  }
}

void cBackupWindow::Show(int showCommand) {
  ShowWindow(m_hWnd, showCommand);
  UpdateWindow(m_hWnd);
  SetFocus(Command1);
}

LRESULT CALLBACK cBackupWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<cBackupWindow*>(create->lpCreateParams);
    self->m_hWnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<cBackupWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception may pass through the system's code back to the message loop.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    self->ReportError(L"处理窗口消息", std::current_exception());
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT cBackupWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      try {
        CreateControls();
        Form_Load();
      } catch (...) {
        m_CreateError = std::current_exception();  // reported once, by whoever made the window
        return -1;
      }
      return 0;
    case WM_ERASEBKGND:
      try {
        PaintSkin(reinterpret_cast<HDC>(wParam));
      } catch (...) {
        m_SkinFailed = true;  // from now on the ground colour alone, and one message
        ReportError(L"绘制窗口", std::current_exception());
      }
      return 1;
    case WM_CTLCOLORSTATIC:
      return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Label4) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NCHITTEST:
      return HitTest(lParam);
    case WM_DROPFILES:
      try {
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
      } catch (...) {
        ReportError(L"添加拖放的文件", std::current_exception());
      }
      return 0;
    case WM_CLOSE:
      if (m_Running) return 0;
      Form_Unload();
      DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
      m_hWnd = nullptr;
      return 0;
  }
  return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void cBackupWindow::OnCommand(int id, int code) {
  // During a run the window takes no clicks: they are dropped, not queued.
  if (m_Running) return;
  if (code == BN_CLICKED && id == IDC_COMMAND1) RunHandler(&cBackupWindow::Command1_Click, L"选择备份目标文件夹");
  if (code == BN_CLICKED && id == IDC_COMMAND2) RunHandler(&cBackupWindow::Command2_Click, L"选择要备份的文件");
  if (code == BN_CLICKED && id == IDC_COMMAND3) RunHandler(&cBackupWindow::Command3_Click, L"开始备份");
  if (code == STN_CLICKED && id == IDC_LABEL4) RunHandler(&cBackupWindow::Label4_Click, L"关闭程序");
}

void cBackupWindow::RunHandler(void (cBackupWindow::*handler)(), const wchar_t* action) {
  try {
    (this->*handler)();
  } catch (...) {
    ReportError(action, std::current_exception());
  }
}

void cBackupWindow::ReportError(const wchar_t* action, const std::exception_ptr& error) {
  // A failure while the message is up (a repaint behind it, say) is not stacked on top of it.
  if (m_Reporting) return;
  m_Reporting = true;
  MessageBoxW(m_hWnd, mUserMessage::For(action, error).c_str(), kAppTitle, MB_OK | MB_ICONERROR);
  m_Reporting = false;
}

// ---- the window's life ----

void cBackupWindow::Form_Initialize() { mManifest::InitCommonControls(); }

void cBackupWindow::Form_Load() {
  if (!m_Dlg) m_Dlg = std::make_unique<cCommonDialog>();
  m_Dlg->Flags(kDialogFlags);
  m_Dlg->MaxFile(kOpenBufferChars);
  m_Fc = std::make_unique<cCopyFile>(this);
  m_Fc->BufferSize(kChunkSize);
}

void cBackupWindow::Form_Unload() { m_Fc.reset(); }

void cBackupWindow::Label4_Click() { PostMessageW(m_hWnd, WM_CLOSE, 0, 0); }

void cBackupWindow::Command1_Click() {
  if (!m_Dlg) m_Dlg = std::make_unique<cCommonDialog>();
  SetText1(m_Dlg->BrowseForFolder(kBrowsePrompt));
}

void cBackupWindow::Command2_Click() {
  if (!m_Dlg) m_Dlg = std::make_unique<cCommonDialog>();
  if (!m_Dlg->ShowOpen()) return;
  AddFiles(m_Dlg->FileNames());
}

void cBackupWindow::AddFiles(const std::vector<std::wstring>& paths) {
  const std::size_t first = m_List.Count();
  const std::size_t count = m_List.Add(paths);
  {
    // One repaint and one scroll to the end for the whole selection: scrolling after every
    // entry made a pick of thousands of files take minutes, and ends in the same place.
    cRedrawOff quiet(List1.ListHwnd());
    for (std::size_t i = first; i < first + count; ++i) List1.AddItem(m_List.Text(i), i + 1 == first + count);
  }
  if (count < paths.size()) {
    const std::wstring message = L"列表最多容纳 " + std::to_wstring(kMaxEntries) + L" 个文件，其余 " +
                                 std::to_wstring(paths.size() - count) + L" 个文件未添加。";
    MessageBoxW(m_hWnd, message.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
}

void cBackupWindow::OnDropFiles(HDROP drop) {
  struct DropGuard {
    HDROP drop;
    ~DropGuard() { DragFinish(drop); }
  } guard{drop};
  if (m_Running) return;
  std::vector<std::wstring> files;
  std::wstring folders;
  for (std::wstring& path : DroppedPaths(drop)) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      folders += L"\n" + path;
    else
      files.push_back(std::move(path));
  }
  AddFiles(files);
  if (!folders.empty())
    MessageBoxW(m_hWnd, (kOnlyFilesMessage + folders).c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
}

LRESULT cBackupWindow::HitTest(LPARAM lParam) {
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(m_hWnd, &p);
  // Without a frame, dragging the header band is the way to move the window.
  if (p.y >= 0 && p.y < mUnits::TwipsToPixels(kHeaderBottomTwips, m_DpiY)) return HTCAPTION;
  return HTCLIENT;
}

// ---- the backup run ----

void cBackupWindow::Command3_Click() {
  const std::wstring folder = Text1Text();
  if (m_List.Count() > 0 && folder.empty()) {
    MessageBoxW(m_hWnd, kNoFolderMessage, kAppTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  const std::vector<std::size_t> order = m_List.StartRun();
  m_Running = true;
  std::exception_ptr windowFailure;
  try {
    m_QuietList.emplace(List1.ListHwnd());
    BackUpEntries(folder, order);
  } catch (...) {
    windowFailure = std::current_exception();
  }
  EndRun(windowFailure);
}

// Copies each entry's backup in turn. A failure on one entry fails that entry and the run
// goes on; only a failure of the window itself leaves this early.
void cBackupWindow::BackUpEntries(const std::wstring& folder, const std::vector<std::size_t>& order) {
  m_Run = RunState{0, static_cast<int>(order.size()), {}};
  for (const std::size_t entry : order) {
    m_CurIndex = static_cast<std::int32_t>(entry);
    ++m_Run.current;
    ShowRunState(m_Run.current == 1 || m_Run.current == m_Run.total);
    BackUpEntry(folder, entry);
    mMessagePump::DispatchPending(mMessagePump::Mode::Run);
    cControlWindow::RethrowPendingError();  // a control's failure is the window's
  }
}

void cBackupWindow::BackUpEntry(const std::wstring& folder, std::size_t entry) {
  try {
    m_Fc->CopyFile(m_List.Source(entry), mFileHlp::AddBackslash(folder) + m_List.DestinationName(entry));
  } catch (const cWindowFailure&) {
    throw;
  } catch (const std::exception& error) {
    ShowEntries(m_List.MarkFailed(entry, mUserMessage::EntryReason(error)));
  }
}

// Whatever ended the run: the list drawn again, input given meanwhile dropped, the caption
// reset, and one message with what was done.
void cBackupWindow::EndRun(const std::exception_ptr& windowFailure) {
  m_QuietList.reset();
  mMessagePump::DispatchPending(mMessagePump::Mode::Run);
  mMessagePump::DiscardInput();
  m_Running = false;
  TakeParkedError(L"更新窗口控件");
  SetLabelText(Label3, kProgressCaption);
  ShowRunResult(windowFailure);
}

void cBackupWindow::ShowEntries(const std::vector<std::size_t>& entries) {
  for (const std::size_t entry : entries) List1.List(static_cast<std::int16_t>(entry), m_List.Text(entry));
}

// Shows which file is being copied, keeps it in view and draws the marks made so far; at most
// every kRunRedrawInterval unless asked to show it now. Under Wine every change to a visible
// list repaints its scroll bar at once, which took longer than copying a small file.
void cBackupWindow::ShowRunState(bool now) {
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - m_Run.shown < kRunRedrawInterval) return;
  m_Run.shown = time;
  KeepInView(m_CurIndex);
  ShowProgressText(m_Run.current, m_Run.total);
  if (m_QuietList) m_QuietList->ShowNow();
}

void cBackupWindow::ShowProgressText(int current, int total) {
  SetLabelText(Label3, kProgressCaption + std::to_wstring(current) + L"/" + std::to_wstring(total));
}

void cBackupWindow::KeepInView(int index) {
  HWND list = List1.ListHwnd();
  RECT client{};
  GetClientRect(list, &client);
  const auto itemHeight = std::max<LRESULT>(1, SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int rows = std::max(1, static_cast<int>(client.bottom / itemHeight));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows)
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, index - rows / 2)), 0);
}

void cBackupWindow::ShowRunResult(const std::exception_ptr& windowFailure) {
  const auto failures = m_List.Failures();
  if (!windowFailure && failures.empty()) {
    MessageBoxW(m_hWnd, kDoneMessage, kAppTitle, MB_OK);
    return;
  }
  std::wstring text;
  if (windowFailure) text = mUserMessage::For(L"继续备份", Unwrapped(windowFailure)) + L"\n\n" + kRunBrokenMessage;
  if (!failures.empty()) text += (text.empty() ? L"" : L"\n\n") + mFailureReport::Summary(failures);
  MessageBoxW(m_hWnd, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

void cBackupWindow::m_Fc_CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  const auto bar = mProgressScale::Scale(CopyBytes, AllBytes);
  ProgressBar1.Max(bar.max);
  ProgressBar1.Value(bar.value);
  ShowRunState(false);
  mMessagePump::DispatchPending(mMessagePump::Mode::Run);
}

void cBackupWindow::m_Fc_CopyComplete(std::int64_t) {
  // The model first: the copy is done whether or not the list can show it.
  ShowEntries(m_List.MarkBackedUp(static_cast<std::size_t>(m_CurIndex)));
}

// What the window's event handlers throw is the window's failure, not the file's: it ends the
// run instead of failing the entry.
void cBackupWindow::CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  try {
    m_Fc_CopyProgress(CopyBytes, AllBytes);
  } catch (...) {
    std::throw_with_nested(cWindowFailure());
  }
}

void cBackupWindow::CopyComplete(std::int64_t AllBytes) {
  try {
    m_Fc_CopyComplete(AllBytes);
  } catch (...) {
    std::throw_with_nested(cWindowFailure());
  }
}

// ---- look ----

RECT cBackupWindow::PixelRect(int left, int top, int width, int height) const {
  const int x = mUnits::TwipsToPixels(left, m_DpiX);
  const int y = mUnits::TwipsToPixels(top, m_DpiY);
  return RECT{x, y, x + mUnits::TwipsToPixels(width, m_DpiX), y + mUnits::TwipsToPixels(height, m_DpiY)};
}

int cBackupWindow::LabelWidth(const wchar_t* text) const {
  cWindowDc dc(m_hWnd, L"measure label");
  cSelectedFont font(dc.Get(), m_DefaultFont.Get(), L"measure label");
  SIZE size{};
  if (!GetTextExtentPoint32W(dc.Get(), text, lstrlenW(text), &size))
    ThrowLastError(L"GetTextExtentPoint32W", text);
  return size.cx;
}

HWND cBackupWindow::CreateChild(const wchar_t* className, const wchar_t* text, DWORD style,
                                DWORD exStyle, int id, const RECT& pixels, HFONT font) {
  HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, pixels.left,
                               pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                               m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_hInstance,
                               nullptr);
  if (!child) ThrowLastError(L"CreateWindowExW", className);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void cBackupWindow::CreateControls() {
  m_DefaultFont = MakeFont(m_DpiY, 90, false, L"宋体");
  m_CloseFont = MakeFont(m_DpiY, 105, true, L"宋体");
  m_Skin = cGdiObject<HBITMAP>(static_cast<HBITMAP>(
      LoadImageW(m_hInstance, MAKEINTRESOURCEW(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!m_Skin) ThrowLastError(L"LoadImageW", L"skin");
  // Created in tab order, so the focus moves through them in that order.
  for (const auto& layout : BackupLayout::kControls) CreateControl(layout);
}

void cBackupWindow::CreateControl(const BackupLayout::ControlSpec& layout) {
  using BackupLayout::Kind;
  RECT r = PixelRect(layout.left, layout.top, layout.width, layout.height);
  if (layout.autoSize) r.right = r.left + LabelWidth(layout.text);
  switch (layout.kind) {
    case Kind::Button:
      *NativeControl(layout.id) = CreateChild(WC_BUTTONW, layout.text, WS_TABSTOP | BS_PUSHBUTTON, 0,
                                              layout.id, r, m_DefaultFont.Get());
      return;
    case Kind::Label: {
      const bool close = layout.id == IDC_LABEL4;  // the label that acts as a button
      *NativeControl(layout.id) =
          CreateChild(WC_STATICW, layout.text, SS_LEFT | SS_NOPREFIX | (close ? SS_NOTIFY : 0), 0,
                      layout.id, r, close ? m_CloseFont.Get() : m_DefaultFont.Get());
      return;
    }
    case Kind::Edit:
      *NativeControl(layout.id) = CreateChild(WC_EDITW, layout.text, WS_TABSTOP | ES_AUTOHSCROLL,
                                              WS_EX_CLIENTEDGE, layout.id, r, m_DefaultFont.Get());
      return;
    case Kind::ProgressBar:
      ProgressBar1.Create(m_hWnd, layout.id, r.left, r.top, r.right - r.left, r.bottom - r.top);
      return;
    case Kind::ListBox:
      CreateList(layout.id, r);
      return;
  }
}

void cBackupWindow::CreateList(int id, const RECT& r) {
  List1.Create(m_hWnd, id, r.left, r.top, r.right - r.left, r.bottom - r.top, m_DefaultFont.Get());
  // The window's saved layout holds no settings of the list's own: it starts enabled.
  List1.ReadProperties(cLayoutProperties{});
  // Lets the dialog navigation reach the list box inside the control.
  SetWindowLongPtrW(List1.hwnd(), GWL_EXSTYLE,
                    GetWindowLongPtrW(List1.hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

HWND* cBackupWindow::NativeControl(int id) {
  switch (id) {
    case IDC_COMMAND1: return &Command1;
    case IDC_COMMAND2: return &Command2;
    case IDC_COMMAND3: return &Command3;
    case IDC_TEXT1: return &Text1;
    case IDC_LABEL1: return &Label1;
    case IDC_LABEL2: return &Label2;
    case IDC_LABEL3: return &Label3;
    case IDC_LABEL4: return &Label4;
  }
  throw std::logic_error("no native control with this id");
}

// The skin at its own size in the corner; above 96 dots per inch the window is larger than the
// picture, and the rest takes the skin's ground colour.
void cBackupWindow::PaintSkin(HDC dc) {
  RECT client{};
  GetClientRect(m_hWnd, &client);
  if (m_SkinFailed) return PaintGround(dc, client, 0, 0);
  BITMAP skin{};
  if (!GetObjectW(m_Skin.Get(), sizeof skin, &skin)) ThrowLastError(L"GetObjectW", L"skin");
  cMemoryDC source(dc, m_Skin.Get());
  if (!BitBlt(dc, 0, 0, skin.bmWidth, skin.bmHeight, source.Get(), 0, 0, SRCCOPY))
    ThrowLastError(L"BitBlt", L"skin");
  PaintGround(dc, client, skin.bmWidth, skin.bmHeight);
}

void cBackupWindow::PaintGround(HDC dc, const RECT& client, int skinWidth, int skinHeight) {
  const cGdiObject<HBRUSH> ground(CreateSolidBrush(kGroundColour));
  if (!ground) ThrowLastError(L"CreateSolidBrush", L"skin");
  const RECT right{skinWidth, 0, client.right, client.bottom};
  const RECT below{0, skinHeight, skinWidth, client.bottom};
  for (const RECT& band : {right, below})
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, ground.Get());
}

LRESULT cBackupWindow::ColorStatic(HDC dc, HWND control) {
  // Labels are transparent: the skin shows around and behind their text.
  SetBkMode(dc, TRANSPARENT);
  if (control == Label4) SetTextColor(dc, kCloseColour);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

std::wstring cBackupWindow::Text1Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Text1)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(Text1, text.data(), static_cast<int>(text.size()))));
  return text;
}

void cBackupWindow::SetText1(const std::wstring& text) { SetWindowTextW(Text1, text.c_str()); }

void cBackupWindow::SetLabelText(HWND label, const std::wstring& text) {
  SetWindowTextW(label, text.c_str());
  // A transparent label leaves its old text behind unless the skin under it is drawn again.
  RECT r{};
  GetWindowRect(label, &r);
  MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(m_hWnd, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
