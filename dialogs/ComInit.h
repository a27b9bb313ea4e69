#pragma once
// Initialises COM on the calling thread as a single-threaded apartment for the guard's life, as
// the shell's folder browser requires, and uninitialises only what it initialised. On a thread
// that already joined the multi-threaded apartment it throws cDialogError (RPC_E_CHANGED_MODE):
// the browser must not run there.
class ComInit {
 public:
  explicit ComInit(const wchar_t* operation);
  ~ComInit();
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  ComInit(ComInit&& other) noexcept;
  ComInit& operator=(ComInit&&) = delete;  // a thread's initialisations are not reassigned

 private:
  bool m_Initialised;
};
