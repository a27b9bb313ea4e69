#include "cCopyFlight.h"

#include <utility>

#include "cWorker.h"

// A thread with an engine of its own, and the listener of that engine: it applies a stop as the
// owner of a copy does, and notes how the copy ended.
class cCopyFlight::Lane : private cCopyFileEvents {
 public:
  Lane(std::int32_t bufferSize, cCopyFile::Options options, const std::atomic<bool>& stop)
      : m_Engine(this, options), m_Stop(stop) {
    m_Engine.BufferSize(bufferSize);
  }

  void Launch(std::wstring from, std::wstring to, std::wstring keepAs) {
    m_Begun = false;
    m_StopSent = false;
    m_Finishing = false;
    m_Bytes = 0;
    m_Worker.Start([this, from = std::move(from), to = std::move(to), keepAs = std::move(keepAs)] {
      if (m_Stop) return;  // stopped before it began: nothing is touched
      m_Begun = true;
      m_Engine.CopyFile(from, to, keepAs);
    });
  }

  // What the worker's thread wrote is read once Wait has seen it return.
  std::optional<Result> Take(std::chrono::milliseconds most) {
    if (!m_Worker.Wait(most)) return std::nullopt;
    try {
      m_Worker.Rethrow();
    } catch (...) {
      return Result{Result::End::Failed, 0, std::current_exception()};
    }
    return Result{m_Begun && !m_StopSent ? Result::End::Copied : Result::End::Stopped, m_Bytes, nullptr};
  }

 private:
  // A stop ends the copy at its next chunk; a file written in full is finished instead.
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override {
    if (!m_Stop) return;
    if (CopyBytes < AllBytes) SendStop();
    else m_Finishing = true;
  }
  void CopyComplete(std::int64_t AllBytes) override { m_Bytes = AllBytes; }
  // A stop while the copy is flushed or read back gives it up, unless it was written in full.
  void CopyWaiting() override {
    if (m_Stop && !m_Finishing) SendStop();
  }
  void SendStop() {
    if (!std::exchange(m_StopSent, true)) m_Engine.CopyStop();
  }

  cCopyFile m_Engine;
  const std::atomic<bool>& m_Stop;
  bool m_Begun = false;
  bool m_StopSent = false;
  bool m_Finishing = false;
  std::int64_t m_Bytes = 0;
  cWorker m_Worker;  // last: gone first, once its call has returned
};

cCopyFlight::cCopyFlight(const cCopyFile& model, std::size_t lanes)
    : m_BufferSize(model.BufferSize()), m_Options(model.Choices()), m_Lanes(lanes) {
  m_Options.blockingCallsAside = false;  // a lane raises no events on the caller's thread
}

cCopyFlight::~cCopyFlight() {
  Stop();
  while (!m_Order.empty()) TakeOldest(cWorker::kSlice);
}

bool cCopyFlight::Takes(std::int64_t bytes) const { return bytes <= kLargestFile && m_Order.size() < m_Lanes; }

void cCopyFlight::Launch(const std::wstring& from, const std::wstring& to, const std::wstring& keepAs) {
  Lane& lane = FreeLane();
  lane.Launch(from, to, keepAs);
  m_Order.push_back(std::move(m_Free.back()));
  m_Free.pop_back();
}

std::optional<cCopyFlight::Result> cCopyFlight::TakeOldest(std::chrono::milliseconds most) {
  if (m_Order.empty()) return std::nullopt;
  std::optional<Result> result = m_Order.front()->Take(most);
  if (!result) return std::nullopt;
  m_Free.push_back(std::move(m_Order.front()));
  m_Order.pop_front();
  return result;
}

cCopyFlight::Lane& cCopyFlight::FreeLane() {
  if (m_Free.empty()) m_Free.push_back(std::make_unique<Lane>(m_BufferSize, m_Options, m_Stop));
  return *m_Free.back();
}
