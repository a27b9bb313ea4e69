#pragma once
// Initialises COM for the user-interface thread (the shell's folder browser needs it) and
// uninitialises it only if the initialisation succeeded.
#include <windows.h>
#include <objbase.h>

class cComInit {
 public:
  cComInit() : m_Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~cComInit() {
    if (SUCCEEDED(m_Result)) CoUninitialize();
  }
  cComInit(const cComInit&) = delete;
  cComInit& operator=(const cComInit&) = delete;
  bool Ok() const noexcept { return SUCCEEDED(m_Result); }

 private:
  HRESULT m_Result;
};
