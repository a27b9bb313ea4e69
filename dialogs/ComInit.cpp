#include "ComInit.h"

#include <objbase.h>

#include "cDialogError.h"

ComInit::ComInit(const wchar_t* operation) : m_Initialised(false) {
  // S_FALSE (already initialised on this thread) still counts and must be balanced.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(hr)) throw cDialogError::FromHresult(operation, L"CoInitializeEx", hr);
  m_Initialised = true;
}

ComInit::~ComInit() {
  if (m_Initialised) CoUninitialize();
}

ComInit::ComInit(ComInit&& other) noexcept : m_Initialised(other.m_Initialised) {
  other.m_Initialised = false;
}
