#pragma once
// Limits a byte stream to a rate: every transfer ends when the device would have finished it,
// after every transfer queued before it. Safe to share among threads.
#include <chrono>
#include <cstddef>
#include <mutex>

class cPacedDevice {
  using Clock = std::chrono::steady_clock;

 public:
  // One transfer under way: the bytes are moved while it lives, and its end waits until the
  // device would have moved them, so that moving them is part of the device's time.
  class Transfer {
   public:
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    ~Transfer();

   private:
    friend class cPacedDevice;
    Transfer(cPacedDevice* device, Clock::time_point done) : m_Device(device), m_Done(done) {}
    cPacedDevice* m_Device;  // none: no limit
    Clock::time_point m_Done;
  };

  // bytesPerSecond 0: no limit.
  explicit cPacedDevice(double bytesPerSecond);
  cPacedDevice(const cPacedDevice&) = delete;
  cPacedDevice& operator=(const cPacedDevice&) = delete;

  // Begins a transfer of these bytes; it is over when the result goes.
  [[nodiscard]] Transfer Start(std::size_t bytes);

 private:
  void Finish(Clock::time_point done);

  const double m_Rate;
  std::mutex m_Mutex;
  Clock::time_point m_Free;  // when the device has moved every transfer queued so far
  Clock::duration m_Late;    // how long after its time the last transfer's thread woke
};
