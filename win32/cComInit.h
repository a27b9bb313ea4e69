#pragma once
// Initialises COM on the calling thread as a single-threaded apartment for the guard's life, as
// the shell's folder browser requires, and uninitialises only what it initialised. On a thread
// that already joined the multi-threaded apartment it throws cPlatformError
// (RPC_E_CHANGED_MODE): the shell's dialogs must not run there.
class cComInit {
 public:
  explicit cComInit(const wchar_t* operation);
  ~cComInit();
  cComInit(const cComInit&) = delete;
  cComInit& operator=(const cComInit&) = delete;
  cComInit(cComInit&& other) noexcept;
  cComInit& operator=(cComInit&&) = delete;  // a thread's initialisations are not reassigned

 private:
  bool m_Initialised;
};
