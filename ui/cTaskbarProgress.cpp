#include "cTaskbarProgress.h"

#include "cPlatformError.h"

cTaskbarProgress::cTaskbarProgress(HWND window) : m_Window(window) {
  const HRESULT hr = CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                      reinterpret_cast<void**>(&m_List));
  if (hr == REGDB_E_CLASSNOTREG || hr == E_NOINTERFACE) {  // a system without one
    m_List = nullptr;
    return;
  }
  Check(hr, L"CoCreateInstance");
  const HRESULT init = m_List->HrInit();
  if (FAILED(init)) {
    m_List->Release();
    m_List = nullptr;
    Check(init, L"HrInit");
  }
}

cTaskbarProgress::~cTaskbarProgress() {
  Clear();
  if (m_List) m_List->Release();
}

void cTaskbarProgress::Check(HRESULT hr, const wchar_t* call) const {
  if (FAILED(hr)) throw cPlatformError::FromHresult(L"show the run on the taskbar", L"taskbar button", call, hr);
}

void cTaskbarProgress::Show(std::uint64_t done, std::uint64_t total) {
  if (!m_List) return;
  Check(m_List->SetProgressState(m_Window, m_Failed ? TBPF_ERROR : TBPF_NORMAL), L"SetProgressState");
  Check(m_List->SetProgressValue(m_Window, done, total > 0 ? total : 1), L"SetProgressValue");
}

void cTaskbarProgress::Failed() { m_Failed = true; }

void cTaskbarProgress::Clear() noexcept {
  // Taking the progress off has no failure worth a message: the button shows the next run anew.
  if (m_List) m_List->SetProgressState(m_Window, TBPF_NOPROGRESS);
}
