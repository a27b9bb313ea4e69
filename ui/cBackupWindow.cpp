#include "cBackupWindow.h"

#include <stdexcept>
#include <utility>

#include "ControlIds.h"
#include "cControlWindow.h"
#include "cPlatformError.h"
#include "mFailureReport.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mLeftovers.h"
#include "win32/mLongPath.h"
#include "mManifest.h"
#include "mMessagePump.h"
#include "mProgressScale.h"
#include "mShellDrop.h"
#include "mUserMessage.h"
#include "mWindowClass.h"
#include "mWindowsNames.h"
#include "resource.h"

namespace {

constexpr std::int32_t kDialogFlags = 0x80200;  // OFN_EXPLORER | OFN_ALLOWMULTISELECT
constexpr std::int32_t kChunkSize = 0x400000;
// Room for a selection of a thousand files with long names in one pick.
constexpr std::int32_t kOpenBufferChars = 0x40000;
constexpr wchar_t kBrowsePrompt[] = L"备份到...";
constexpr wchar_t kDoneMessage[] = L"完成备份！";
constexpr wchar_t kNoFolderMessage[] = L"请先选择或输入备份目标文件夹。";
constexpr wchar_t kRunBrokenMessage[] = L"备份已中断，其余文件没有复制。";
constexpr auto kPumpInterval = std::chrono::milliseconds(15);
constexpr wchar_t kStopAndCloseQuestion[] = L"正在备份。要停止备份并关闭程序吗？";

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

struct cDropFinish {
  HDROP drop;
  ~cDropFinish() { DragFinish(drop); }
};

}  // namespace

cBackupWindow::cBackupWindow(HINSTANCE instance) : m_hInstance(instance), m_List(mWindowsNames::Folded, mFileSys::VolumeLabel) {
  Form_Initialize();

  mWindowClass::Look look;
  look.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  look.smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  look.cursor = LoadCursorW(nullptr, IDC_ARROW);
  mWindowClass::Register(instance, kBackupWindowClass, WindowProc, look);

  const SIZE size = m_View.WindowSize();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - size.cx) / 2;
  const int y = work.top + (work.bottom - work.top - size.cy) / 2;

  // WS_POPUP with no border: no caption, frame or system menu; the skin is the whole window.
  m_hWnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, kBackupWindowClass, kBackupWindowCaption,
                           WS_POPUP | WS_CLIPSIBLINGS | WS_MINIMIZEBOX, x, y, size.cx, size.cy,
                           nullptr, nullptr, instance, this);
  // WM_CREATE keeps its error: that, not CreateWindowExW's answer, is why there is no window.
  if (m_CreateError) std::rethrow_exception(m_CreateError);
  if (!m_hWnd) throw cPlatformError::FromLastError(L"backup window", kBackupWindowClass, L"CreateWindowExW");
  // The taskbar and the task switcher ask the window itself for its icons.
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(look.icon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(look.smallIcon));
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
  SetFocus(m_View.Command1);
}

// ---- dispatch ----

LRESULT CALLBACK cBackupWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return mWindowClass::Route(hwnd, message, wParam, lParam, &cBackupWindow::m_hWnd,
                             [hwnd](cBackupWindow& self, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                               // No exception may pass through the system's code back to the message loop.
                               try {
                                 return self.HandleMessage(m, w, l);
                               } catch (...) {
                                 self.ReportError(L"处理窗口消息", std::current_exception());
                                 return DefWindowProcW(hwnd, m, w, l);
                               }
                             });
}

LRESULT cBackupWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_ERASEBKGND:
      try {
        m_View.PaintBackground(reinterpret_cast<HDC>(wParam));
      } catch (...) {
        ReportError(L"绘制窗口", std::current_exception());  // once: the skin is not tried again
      }
      return 1;
    case WM_CTLCOLORSTATIC:
      return m_View.ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == m_View.Label4) {
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
      if (m_Running) {
        AskToStopAndClose();
        return 0;
      }
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

LRESULT cBackupWindow::OnCreate() {
  try {
    m_View.Create(m_hWnd, m_hInstance);
    Form_Load();
  } catch (...) {
    m_CreateError = std::current_exception();  // reported once, by whoever made the window
    return -1;
  }
  return 0;
}

void cBackupWindow::OnCommand(int id, int code) {
  // During a run only "停止" (or Esc) and "关闭" act; every other click does nothing.
  if (m_Running) {
    if ((code == BN_CLICKED && id == IDC_COMMAND3) || id == IDCANCEL) RequestStop();
    if (code == STN_CLICKED && id == IDC_LABEL4) RunHandler(&cBackupWindow::Label4_Click, L"关闭程序");
    return;
  }
  if (code == BN_CLICKED && id == IDC_COMMAND1) RunHandler(&cBackupWindow::Command1_Click, L"选择备份目标文件夹");
  if (code == BN_CLICKED && id == IDC_COMMAND2) RunHandler(&cBackupWindow::Command2_Click, L"选择要备份的文件");
  if (code == BN_CLICKED && id == IDC_COMMAND3) RunHandler(&cBackupWindow::Command3_Click, L"开始备份");
  if (code == STN_CLICKED && id == IDC_LABEL4) RunHandler(&cBackupWindow::Label4_Click, L"关闭程序");
}

void cBackupWindow::OnDropFiles(HDROP drop) {
  const cDropFinish finish{drop};
  if (m_Running) return;
  std::vector<std::wstring> paths = mShellDrop::Paths(drop);
  // A folder is one entry, written with its final backslash ("E:\\" for a whole drive).
  for (std::wstring& path : paths) {
    const DWORD attributes = GetFileAttributesW(mLongPath::ForSystem(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) path = mFileHlp::AddBackslash(path);
  }
  AddFiles(paths);
}

LRESULT cBackupWindow::HitTest(LPARAM lParam) const {
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(m_hWnd, &p);
  // Without a frame, dragging the header band is the way to move the window.
  return m_View.InHeader(p) ? HTCAPTION : HTCLIENT;
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
  Say(mUserMessage::For(action, error), MB_OK | MB_ICONERROR);
  m_Reporting = false;
}

int cBackupWindow::Say(const std::wstring& text, UINT flags) {
  return MessageBoxW(m_hWnd, text.c_str(), mUserMessage::Title().c_str(), flags);
}

// ---- the window's life and the user's clicks ----

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
  m_View.SetText1(m_Dlg->BrowseForFolder(kBrowsePrompt));
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
    cRedrawOff quiet(m_View.List1.ListHwnd());
    for (std::size_t i = first; i < first + count; ++i)
      m_View.List1.AddItem(m_List.Text(i), i + 1 == first + count);
  }
  if (count < paths.size())
    Say(L"列表最多容纳 " + std::to_wstring(cBackupList::kMaxEntries) + L" 个文件，其余 " +
            std::to_wstring(paths.size() - count) + L" 个文件未添加。",
        MB_OK | MB_ICONWARNING);
}

// ---- the backup run ----

void cBackupWindow::Command3_Click() {
  const std::wstring folder = m_View.Text1Text();
  if (m_List.Count() > 0 && folder.empty()) {
    Say(kNoFolderMessage, MB_OK | MB_ICONWARNING);
    return;
  }
  // What an earlier run left when its process was ended in the middle of a copy.
  if (m_List.Count() > 0) mLeftovers::RemoveIn(folder);
  const cRunPlan plan(m_List, m_List.StartRun(), folder);
  std::exception_ptr windowFailure;
  try {
    BeginRun(plan);
    BackUpSteps(plan);
  } catch (...) {
    windowFailure = std::current_exception();
  }
  EndRun(windowFailure);
}

void cBackupWindow::BeginRun(const cRunPlan& plan) {
  m_Running = true;
  m_Run = RunState{};
  m_Run.links = plan.Links();
  m_RunView.emplace(m_hWnd, m_View, plan.Files(), plan.Bytes());
  // "停止" shows from here on: a click or key given before it (a double-click on "开始", say,
  // queued while the plan was worked out) was meant for what the window showed then.
  mMessagePump::DiscardInput();
}

// Takes the plan's steps in turn, until all are done or the user stops the run. A failure of
// one step fails that file (and its entry) and the run goes on; only a failure of the window
// itself leaves this early.
void cBackupWindow::BackUpSteps(const cRunPlan& plan) {
  for (const cRunPlan::Step& step : plan.Steps()) {
    if (m_Run.stopRequested) {
      m_Run.stoppedEarly = true;
      break;
    }
    m_CurIndex = static_cast<std::int32_t>(step.entry);
    m_Step = &step;
    if (step.kind == cRunPlan::Kind::Copy) m_RunView->BeginFile(step.bytes, m_CurIndex);
    TakeStep(step);
    PumpWhenDue();
    cControlWindow::RethrowPendingError();  // a control's failure is the window's
  }
  m_Step = nullptr;
}

void cBackupWindow::TakeStep(const cRunPlan::Step& step) {
  m_Run.stopSent = false;
  try {
    switch (step.kind) {
      case cRunPlan::Kind::Fail:
        std::rethrow_exception(step.failure);
      case cRunPlan::Kind::Refuse:
        return StepFailed(step, cSourceGuard::Reason(step.refusal));
      case cRunPlan::Kind::CreateFolder:
        cRunPlan::CreateFolder(step);
        return StepDone();
      case cRunPlan::Kind::Copy:
        if (!cRunPlan::Unchanged(step)) return m_Fc->CopyFile(step.source, step.destination);
        m_RunView->FileProgress(step.bytes);  // its backup is up to date: nothing to copy
        return StepDone();
    }
  } catch (const cWindowFailure&) {
    throw;
  } catch (const std::exception& error) {
    StepFailed(step, mUserMessage::EntryReason(error));
  }
}

void cBackupWindow::StepFailed(const cRunPlan::Step& step, const std::wstring& reason) {
  m_RunView->FileFailed();
  ShowEntries(m_List.IsFolder(step.entry) ? m_List.MarkFileFailed(step.entry, step.source, reason)
                                          : m_List.MarkFailed(step.entry, reason));
}

// A step has reached the destination; an entry whose last step that was, with nothing of it
// failed, is backed up.
void cBackupWindow::StepDone() {
  if (m_Step->kind == cRunPlan::Kind::Copy) ++m_Run.backedUp;
  if (m_Step->lastOfEntry && m_List.StateOf(m_Step->entry) != cBackupList::State::Failed)
    ShowEntries(m_List.MarkBackedUp(m_Step->entry));
}

// The window's messages during a run: painting, and the clicks and keys that stop it.
void cBackupWindow::Pump() {
  m_Run.pumped = std::chrono::steady_clock::now();
  mMessagePump::DispatchPending(mMessagePump::Mode::Run, m_hWnd);
}

// Often enough that the window answers at once, but not after every one of many small files or
// chunks: under Wine each look at the queue is a round trip to the server.
void cBackupWindow::PumpWhenDue() {
  if (std::chrono::steady_clock::now() - m_Run.pumped >= kPumpInterval) Pump();
}

void cBackupWindow::RequestStop() { m_Run.stopRequested = true; }

void cBackupWindow::AskToStopAndClose() {
  if (m_Run.closeAfter) return;
  if (Say(kStopAndCloseQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  m_Run.closeAfter = true;
  RequestStop();
}

// Whatever ended the run: the list drawn again, input given meanwhile dropped, the controls,
// caption, title and taskbar button as before the run, and one message with what was done.
void cBackupWindow::EndRun(const std::exception_ptr& windowFailure) {
  std::exception_ptr taskbarError;
  int files = 0;
  if (m_RunView) {
    m_RunView->ReleaseList();
    Pump();
    mMessagePump::DiscardInput();
    taskbarError = m_RunView->TakeTaskbarError();
    files = m_RunView->Progress().Files();
    m_RunView.reset();
  }
  m_Running = false;
  TakeParkedError(L"更新窗口控件");
  ShowRunResult(windowFailure, files);
  if (taskbarError) ReportError(L"在任务栏按钮上显示备份进度", taskbarError);
  if (m_Run.closeAfter) PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void cBackupWindow::ShowEntries(const std::vector<std::size_t>& entries) {
  for (const std::size_t entry : entries)
    m_View.List1.List(static_cast<std::int16_t>(entry), m_List.Text(entry));
  if (m_RunView) m_RunView->ListChanged();
}

void cBackupWindow::ShowRunResult(const std::exception_ptr& windowFailure, int files) {
  const auto failures = m_List.Failures();
  std::wstring text;
  if (windowFailure) text = mUserMessage::For(L"继续备份", Unwrapped(windowFailure)) + L"\n\n" + kRunBrokenMessage;
  if (m_Run.stoppedEarly && !windowFailure) {
    text = L"备份已停止。已备份 " + std::to_wstring(m_Run.backedUp) + L" 个文件，未备份 " +
           std::to_wstring(files - m_Run.backedUp) + L" 个文件。";
  }
  if (!failures.empty()) text += (text.empty() ? L"" : L"\n\n") + mFailureReport::Summary(failures);
  const std::wstring links = m_Run.links.empty() ? L"" : mFailureReport::LinksNote(m_Run.links);
  if (text.empty()) {
    Say(links.empty() ? kDoneMessage : kDoneMessage + (L"\n\n" + links), links.empty() ? MB_OK : MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!links.empty()) text += L"\n\n" + links;
  const auto icon = static_cast<UINT>(windowFailure || !failures.empty() ? MB_ICONERROR : MB_ICONINFORMATION);
  Say(text, MB_OK | icon);
}

void cBackupWindow::m_Fc_CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  const auto bar = mProgressScale::Scale(CopyBytes, AllBytes);
  m_View.ProgressBar1.Max(bar.max);
  m_View.ProgressBar1.Value(bar.value);
  m_RunView->FileProgress(CopyBytes);
  m_RunView->Show(false);
  PumpWhenDue();
  // A stop ends the copy at its next chunk, which keeps the earlier backup; a file already
  // written in full is finished instead, and the run stops after it.
  if (m_Run.stopRequested && CopyBytes < AllBytes && !m_Run.stopSent) {
    m_Fc->CopyStop();
    m_Run.stopSent = true;
  }
}

void cBackupWindow::m_Fc_CopyComplete(std::int64_t) {
  if (m_Run.stopSent) {  // a stopped copy is no backup
    m_Run.stoppedEarly = true;
    return;
  }
  // The model first: the copy is done whether or not the list can show it.
  StepDone();
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
