#include "cBackupWindow.h"

#include <utility>

#include "ControlIds.h"
#include "cDropFinish.h"
#include "cPlatformError.h"
#include "cOneWindow.h"
#include "cVolumeFinder.h"
#include "mAppFolders.h"
#include "mExitCode.h"
#include "mManifest.h"
#include "mMessagePump.h"
#include "mShellDrop.h"
#include "mUserMessage.h"
#include "mWindowClass.h"
#include "mWindowsNames.h"

namespace {

constexpr std::int32_t kDialogFlags = 0x80200;  // OFN_EXPLORER | OFN_ALLOWMULTISELECT
constexpr std::int32_t kChunkSize = 0x400000;
// Room for a selection of a thousand files with long names in one pick.
constexpr std::int32_t kOpenBufferChars = 0x40000;
constexpr wchar_t kBrowsePrompt[] = L"备份到...";
constexpr wchar_t kNoFolderMessage[] = L"请先选择或输入备份目标文件夹。";
constexpr wchar_t kNothingListed[] = L"没有要备份的文件。请先在程序窗口中选择要备份的文件和目标文件夹。";
constexpr wchar_t kStopAndCloseQuestion[] = L"正在备份。要停止备份并关闭程序吗？";
constexpr std::chrono::minutes kUnattendedWait{30};

}  // namespace

cBackupWindow::cBackupWindow(HINSTANCE instance, mCommandLine::Request request, const cOneWindow* one)
    : m_hInstance(instance),
      m_One(one),
      m_Request(std::move(request)),
      // A drive root added while its volume did not answer is named without asking it again for long.
      m_List(mWindowsNames::Folded, cVolumeFinder::BoundedLabel),
      m_Job(m_List, m_View, cJobList::StoreFor(m_Request)),
      m_ListMenu(m_Job, m_View),
      m_Report(mAppFolders::Logs()),
      // Unattended, an error outside a run would otherwise leave the program waiting for no one.
      m_Errors([this] { return Box(); },
               [this](const std::wstring& message) {
                 if (!m_Run && !m_Quitting) CannotRun(message);
               }) {
  Form_Initialize();

  m_hWnd = m_View.CreateForm(instance, WindowProc, this, kBackupWindowClass, kBackupWindowCaption);
  // WM_CREATE keeps its error: that, not CreateWindowExW's answer, is why there is no window.
  if (m_CreateError) std::rethrow_exception(m_CreateError);
  if (!m_hWnd) throw cPlatformError::FromLastError(L"backup window", kBackupWindowClass, L"CreateWindowExW");
}

cBackupWindow::~cBackupWindow() { if (m_hWnd) DestroyWindow(m_hWnd); }

int cBackupWindow::RunMessageLoop() {
  return mMessagePump::RunLoop(m_hWnd, [this] { m_Errors.TakeParked(L"更新窗口控件"); });
}

void cBackupWindow::Show(int showCommand) {
  ShowWindow(m_hWnd, showCommand);
  UpdateWindow(m_hWnd);
  SetFocus(m_View.Command1);
  if (m_Request.Unattended()) return StartUnattended();
  try {
    if (const std::wstring note = m_Job.Start(m_Request); !note.empty()) Say(note, MB_OK | MB_ICONWARNING);
  } catch (...) {
    // A job file that could not be read is kept as it is: the user learns that the list is not remembered.
    const wchar_t* action = m_Job.Remembers() ? L"读取上次的备份任务" : L"读取上次的备份任务，本次对列表的改动不会保存";
    m_Errors.Report(action, std::current_exception());
  }
}

// The run begins at once, unless the remembered job could not be read or was set aside: then
// nothing is listed, and the log says why.
void cBackupWindow::StartUnattended() {
  std::wstring problem;
  try {
    problem = m_Job.Start(m_Request);
  } catch (...) {
    problem = mUserMessage::For(L"读取上次的备份任务", std::current_exception());
  }
  if (!problem.empty() && m_List.Count() == 0) return CannotRun(problem);
  PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_COMMAND3, BN_CLICKED), 0);
}

// ---- dispatch ----

LRESULT CALLBACK cBackupWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return mWindowClass::Route(hwnd, message, wParam, lParam, &cBackupWindow::m_hWnd,
                             [hwnd](cBackupWindow& self, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                               // No exception may pass through the system's code back to the message loop.
                               try {
                                 return self.HandleMessage(m, w, l);
                               } catch (...) {
                                 self.m_Errors.Report(L"处理窗口消息", std::current_exception());
                                 return DefWindowProcW(hwnd, m, w, l);
                               }
                             });
}

LRESULT cBackupWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; m_View.AnswerLook(message, wParam, lParam, result)) return result;
  if (message == cOneWindow::ComeForwardMessage()) {  // the program was started again on this job
    if (m_One && !m_Request.Unattended() && m_One->Names(wParam)) cOneWindow::ComeForward(m_hWnd);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_ERASEBKGND:  // a failure is said once: the skin is not tried again
      m_Errors.Try(L"绘制窗口", [&] { m_View.PaintBackground(reinterpret_cast<HDC>(wParam)); });
      return 1;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_VKEYTOITEM:
      return m_ListMenu.OnKey(wParam, m_Run.has_value());
    case WM_CONTEXTMENU:
      if (m_ListMenu.OnContextMenu(m_hWnd, reinterpret_cast<HWND>(wParam), lParam, m_Run.has_value())) return 0;
      break;
    case WM_DEVICECHANGE:
      if (!m_Request.Unattended()) cArrivalWatch::OnDeviceChange(m_hWnd, wParam, lParam);
      return TRUE;
    case cArrivalWatch::kArrived:  // only while idle
      if (!m_Run && m_Arrival.Ask(m_hWnd, static_cast<DWORD>(wParam), m_Job)) RunHandler(&cBackupWindow::Command3_Click, L"开始备份");
      return 0;
    case WM_TIMER:
      if (wParam != cJobList::kSaveTimer) break;
      SaveTypedDestination();
      return 0;
    case WM_DROPFILES:
      m_Errors.Try(L"添加拖放的文件", [&] { OnDropFiles(reinterpret_cast<HDROP>(wParam)); });
      return 0;
    case WM_CLOSE:
      if (m_Run) {
        AskToStopAndClose();
        return 0;
      }
      SaveTypedDestination();
      Form_Unload();
      DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(m_ExitCode);
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
  if (m_Run) {
    if ((code == BN_CLICKED && id == IDC_COMMAND3) || id == IDCANCEL) m_Run->Stop();
    if (code == STN_CLICKED && id == IDC_LABEL4) RunHandler(&cBackupWindow::Label4_Click, L"关闭程序");
    return;
  }
  if (code == BN_CLICKED && id == IDC_COMMAND1) RunHandler(&cBackupWindow::Command1_Click, L"选择备份目标文件夹");
  if (code == BN_CLICKED && id == IDC_COMMAND2) RunHandler(&cBackupWindow::Command2_Click, L"选择要备份的文件");
  if (code == BN_CLICKED && id == IDC_COMMAND3) RunHandler(&cBackupWindow::Command3_Click, L"开始备份");
  if (code == STN_CLICKED && id == IDC_LABEL4) RunHandler(&cBackupWindow::Label4_Click, L"关闭程序");
  if (code == EN_CHANGE && id == IDC_TEXT1) m_Job.DestinationTyped(m_hWnd);
}

void cBackupWindow::SaveTypedDestination() {
  m_Errors.Try(L"保存备份任务", [this] { m_Job.SaveTyped(m_hWnd); });
}

void cBackupWindow::OnDropFiles(HDROP drop) {
  const cDropFinish finish(drop);
  if (m_Run) return;
  AddFiles(mShellDrop::Entries(drop));
}

void cBackupWindow::RunHandler(void (cBackupWindow::*handler)(), const wchar_t* action) {
  m_Errors.Try(action, [&] { (this->*handler)(); });
}

int cBackupWindow::Say(const std::wstring& text, UINT flags) {
  // No one to answer: whoever closes an unattended run wants it stopped.
  return Box().Show(text, flags, (flags & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK);
}

cMessageBox cBackupWindow::Box() const { return cMessageBox(m_hWnd, m_Request.Unattended()); }

// ---- the window's life and the user's clicks ----

void cBackupWindow::Form_Initialize() { mManifest::InitCommonControls(); }

void cBackupWindow::Form_Load() {
  if (!m_Dlg) m_Dlg = std::make_unique<cCommonDialog>();
  m_Dlg->Flags(kDialogFlags);
  m_Dlg->MaxFile(kOpenBufferChars);
  // Its listener during a run is the run, which tells the run's view.
  m_Fc = std::make_unique<cCopyFile>();
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
  const std::size_t count = m_Job.Add(paths);
  if (count < paths.size()) Say(mUserMessage::ListFull(paths.size() - count), MB_OK | MB_ICONWARNING);
}

void cBackupWindow::Quit(int exitCode) {
  m_ExitCode = exitCode;
  m_Quitting = true;
  PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void cBackupWindow::CannotRun(const std::wstring& reason) {
  if (!m_Request.Unattended()) {
    Say(reason, MB_OK | MB_ICONWARNING);
    return;
  }
  // Ends the run all the same when the log cannot be written: its code says that nothing was done.
  m_Quitting = true;
  m_Errors.Try(L"写入备份日志", [&] { m_Report.NotRun(m_View.Text1Text(), reason); });
  Quit(mExitCode::kNothingDone);
}

// ---- the backup run ----

// The run steps; between its steps and in its long waits it calls Waiting, where the window
// takes its messages. Unattended, no one is asked: the exit code says what became of the run.
void cBackupWindow::Command3_Click() {
  const std::wstring folder = m_View.Text1Text();
  if (m_List.Count() > 0 && folder.empty()) return CannotRun(kNoFolderMessage);
  if (m_Request.Unattended() && m_List.Count() == 0) return CannotRun(kNothingListed);
  SaveTypedDestination();
  m_Job.Locate();
  m_Report.Begin(folder);
  m_CloseAfterRun = false;
  std::exception_ptr failure;
  try {
    m_RunView.emplace(Box(), m_View, m_List, m_Report);
    m_Run.emplace(m_List, folder, *m_Fc, *m_RunView);
    // A scheduled run does not wait for ever behind another run into its destination.
    if (m_Request.Unattended()) m_Run->WaitAtMost(kUnattendedWait);
    while (m_Run->Step()) {
    }
  } catch (...) {
    failure = std::current_exception();
  }
  EndRun(failure);
}

void cBackupWindow::AskToStopAndClose() {
  if (m_CloseAfterRun) return;
  if (Say(kStopAndCloseQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  m_CloseAfterRun = true;
  if (m_Run) m_Run->Stop();
}

// Whatever ended the run: the list drawn again, input given meanwhile dropped, the controls,
// caption, title and taskbar button as before the run, and one message with what was done.
void cBackupWindow::EndRun(const std::exception_ptr& failure) {
  const cRunOutcome outcome = m_Run ? m_Run->Result() : cRunOutcome{};
  m_Run.reset();  // gives the engine back before its listener goes
  const std::exception_ptr taskbarError = m_RunView ? m_RunView->End() : nullptr;
  m_RunView.reset();
  m_Errors.TakeParked(L"更新窗口控件");
  m_Errors.Try(L"保存备份任务", [this] { m_Job.RunEnded(); });
  m_Report.End(Box(), outcome, m_List.Failures(), failure ? mUserMessage::For(L"继续备份", failure) : L"");
  if (m_Request.Unattended()) Quit(mExitCode::For(outcome, m_List.Count(), m_List.Failures().size(), failure != nullptr));
  if (taskbarError) m_Errors.Report(L"在任务栏按钮上显示备份进度", taskbarError);
  if (m_CloseAfterRun) PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}
