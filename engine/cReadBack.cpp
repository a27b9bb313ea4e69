#include "cReadBack.h"

#include <utility>

#include "CopyStep.h"
#include "cFileError.h"
#include "mFileSys.h"

cReadBack::cReadBack(std::wstring path, std::function<void()> flush, bool verify)
    : m_Path(std::move(path)), m_Flush(std::move(flush)), m_Verify(verify) {}

cReadBack::~cReadBack() { Abandon(); }

void cReadBack::Abandon(const std::function<void()>& waiting) {
  m_Stop = true;
  while (m_Worker && !m_Worker->Wait(cWorker::kSlice))
    if (waiting) waiting();
}

void cReadBack::Written(std::int64_t written) {
  if (!m_Worker) m_Worker.emplace();
  if (!m_Worker->Wait(std::chrono::milliseconds(0))) return;
  m_Worker->Rethrow();
  // Whole blocks only: the device's unbuffered reads start on a block.
  const std::int64_t to = written / mFileSys::kReadBackAlign * mFileSys::kReadBackAlign;
  if (to <= m_Checked) return;
  const std::int64_t from = std::exchange(m_Checked, to);
  m_Worker->Start([this, from, to] { Part(from, to); });
}

void cReadBack::Part(std::int64_t from, std::int64_t to) {
  AtStep(CopyStep::FlushDestination, m_Flush);
  if (!m_Verify) return;
  AtStep(CopyStep::VerifyDestination, [&] {
    mFileSys::ReadBack(
        m_Path,
        [this](std::span<const std::byte> bytes) {
          m_Back.Update(bytes);
          return !m_Stop;
        },
        from, to);
  });
}

bool cReadBack::Finish(const cContentHash& read, const std::function<bool()>& goOn) {
  if (m_Worker) {
    while (!m_Worker->Wait(cWorker::kSlice))
      if (!goOn()) return false;
    m_Worker->Rethrow();
  }
  if (!m_Verify) return true;
  if (!mFileSys::ReadBack(
          m_Path,
          [&](std::span<const std::byte> bytes) {
            m_Back.Update(bytes);
            return goOn();
          },
          m_Checked))
    return false;
  if (m_Back.Length() != read.Length() || m_Back.Digest() != read.Digest()) {
    throw cFileError(L"ReadFile", m_Path, 0, L"the copy read back differs from the source",
                     cFileError::Cause::VerifyFailed, CopyStep::VerifyDestination);
  }
  return true;
}
