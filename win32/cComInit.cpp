#include "cComInit.h"

#include <objbase.h>

#include "cPlatformError.h"

cComInit::cComInit(const wchar_t* operation) : m_Initialised(false) {
  // S_FALSE (already initialised on this thread) still counts and must be balanced.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(hr))
    throw cPlatformError::FromHresult(operation, L"single-threaded apartment", L"CoInitializeEx", hr);
  m_Initialised = true;
}

cComInit::~cComInit() {
  if (m_Initialised) CoUninitialize();
}

cComInit::cComInit(cComInit&& other) noexcept : m_Initialised(other.m_Initialised) {
  other.m_Initialised = false;
}
