#include "cPacedDevice.h"

#include <algorithm>
#include <thread>

// A device keeps no credit while it is idle: one that could bank idle time would do work in the
// background while a program waits on the other device, and so hide exactly the cost of taking
// turns that the rig is there to show. A transfer is done when its time is up, though, not when
// the sleeping thread gets to run again, and the bytes move within that time, as a device's
// would: the next transfer starts as it would have on a device whose clock is exact. Without
// that a 40 MB/s device gave a stream of 4 MiB reads 38.0 to 38.6 MB/s.
cPacedDevice::cPacedDevice(double bytesPerSecond) : m_Rate(bytesPerSecond), m_Free(Clock::now()), m_Late(0) {}

cPacedDevice::Transfer cPacedDevice::Start(std::size_t bytes) {
  if (m_Rate <= 0) return Transfer(nullptr, {});
  std::lock_guard<std::mutex> lock(m_Mutex);
  // Transfers queue behind each other: one starts when those before it are done.
  const Clock::time_point start = std::max(m_Free, Clock::now() - m_Late);
  m_Free = start + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>(static_cast<double>(bytes) / m_Rate));
  return Transfer(this, m_Free);
}

void cPacedDevice::Finish(Clock::time_point done) {
  std::this_thread::sleep_until(done);
  std::lock_guard<std::mutex> lock(m_Mutex);
  m_Late = std::max(Clock::duration(0), Clock::now() - done);
}

cPacedDevice::Transfer::~Transfer() {
  if (m_Device) m_Device->Finish(m_Done);
}
