#pragma once
// Reads a file ahead of its consumer, so that the source device works while the consumer
// writes: a thread of its own fills two pieces of memory in turn, and the consumer takes the
// bytes in order from one while the other is being filled. A small file that fits in one piece
// is read at once on the caller's thread, with no thread at all.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class cFile;

class cReadAhead {
 public:
  // Reads total bytes of source from its current position, in pieces of pieceBytes held in the
  // two buffers, which the caller keeps between copies. A source that ends before total bytes
  // fails as changed.
  cReadAhead(cFile& source, std::int64_t total, std::size_t pieceBytes, std::vector<std::byte> (&buffers)[2]);
  // Stops the reader and waits for it, whatever state it is in.
  ~cReadAhead();
  cReadAhead(const cReadAhead&) = delete;
  cReadAhead& operator=(const cReadAhead&) = delete;

  // The next bytes of the file, at least one and at most most, waiting for the reader when it
  // has not got that far; a failure of the reader is thrown here, once every byte read before it
  // has been taken. The bytes stay valid until the next call. Asking past the end is a fault of
  // the caller (std::logic_error). While it waits, `waiting` runs every few milliseconds.
  std::span<const std::byte> Take(std::size_t most, const std::function<void()>& waiting = {});

 private:
  struct Piece {
    std::vector<std::byte>* data;
    std::size_t length = 0;
    bool full = false;  // filled by the reader and not yet given up by the consumer
  };

  void ReadPieces();
  // Reads the next piece into data; fails when the source ends early.
  void ReadPiece(std::vector<std::byte>& data, std::size_t length);

  cFile& m_Source;
  std::int64_t m_Left;  // bytes the reader has still to read
  std::int64_t m_NotTaken;  // bytes the consumer has still to take
  const std::size_t m_PieceBytes;
  Piece m_Pieces[2];
  int m_Current = 0;           // the piece the consumer takes from
  std::size_t m_Taken = 0;     // bytes of it already taken
  std::mutex m_Mutex;
  std::condition_variable m_Changed;
  bool m_Stop = false;
  std::exception_ptr m_Failure;
  std::thread m_Reader;  // last: started once everything it uses exists
};
