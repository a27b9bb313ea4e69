#include "cReadAhead.h"

#include <algorithm>
#include <stdexcept>

#include "cFile.h"
#include "cFileError.h"
#include "cWorker.h"

cReadAhead::cReadAhead(cFile& source, std::int64_t total, std::size_t pieceBytes,
                       std::vector<std::byte> (&buffers)[2])
    : m_Source(source), m_Left(total), m_NotTaken(total), m_PieceBytes(pieceBytes), m_Pieces{{&buffers[0]}, {&buffers[1]}} {
  if (total <= static_cast<std::int64_t>(std::min(pieceBytes, cWorker::kLargestDirectTransfer))) {
    // One small piece: nothing to overlap it with, and a thread would cost more than it saves. A
    // larger one is read by the reader, so that the caller waits for it in slices.
    ReadPiece(*m_Pieces[0].data, static_cast<std::size_t>(total));
    m_Pieces[0].length = static_cast<std::size_t>(total);
    m_Pieces[0].full = true;
    m_Left = 0;
    return;
  }
  m_Reader = std::thread([this] { ReadPieces(); });
}

cReadAhead::~cReadAhead() {
  if (!m_Reader.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Stop = true;
  }
  m_Changed.notify_all();
  m_Reader.join();
}

void cReadAhead::ReadPiece(std::vector<std::byte>& data, std::size_t length) {
  data.resize(length);
  if (m_Source.Read(data) != length) {
    throw cFileError::SourceEnded(m_Source.Path());
  }
}

void cReadAhead::ReadPieces() {
  try {
    for (int next = 0; m_Left > 0; next ^= 1) {
      Piece& piece = m_Pieces[next];
      {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [&] { return m_Stop || !piece.full; });
        if (m_Stop) return;
      }
      // The consumer keeps off a piece until it is full, so it is read without the lock.
      const auto length = static_cast<std::size_t>(std::min<std::int64_t>(m_Left, static_cast<std::int64_t>(m_PieceBytes)));
      ReadPiece(*piece.data, length);
      m_Left -= static_cast<std::int64_t>(length);
      {
        std::lock_guard<std::mutex> lock(m_Mutex);
        piece.length = length;
        piece.full = true;
      }
      m_Changed.notify_all();
    }
  } catch (...) {
    {
      std::lock_guard<std::mutex> lock(m_Mutex);
      m_Failure = std::current_exception();
    }
    m_Changed.notify_all();
  }
}

std::span<const std::byte> cReadAhead::Take(std::size_t most, const std::function<void()>& waiting) {
  if (m_NotTaken <= 0 || most == 0) throw std::logic_error("cReadAhead::Take past the end of the file");
  std::unique_lock<std::mutex> lock(m_Mutex);
  Piece* piece = &m_Pieces[m_Current];
  if (piece->full && m_Taken == piece->length) {
    // Every byte of this piece is written: the reader may fill it again.
    piece->full = false;
    m_Current ^= 1;
    m_Taken = 0;
    piece = &m_Pieces[m_Current];
    lock.unlock();
    m_Changed.notify_all();
    lock.lock();
  }
  while (!m_Changed.wait_for(lock, cWorker::kSlice, [&] { return piece->full || m_Failure; })) {
    if (!waiting) continue;
    lock.unlock();
    waiting();
    lock.lock();
  }
  if (!piece->full) std::rethrow_exception(m_Failure);
  const std::size_t length = std::min(most, piece->length - m_Taken);
  const std::span<const std::byte> bytes(piece->data->data() + m_Taken, length);
  m_Taken += length;
  m_NotTaken -= static_cast<std::int64_t>(length);
  return bytes;
}
