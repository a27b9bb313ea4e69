#pragma once
// A running 64-bit XXH3 hash of bytes fed in pieces: what a copy read, and what its
// destination gives back, are compared by it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class cContentHash {
 public:
  cContentHash();
  ~cContentHash();
  cContentHash(const cContentHash&) = delete;
  cContentHash& operator=(const cContentHash&) = delete;

  void Update(std::span<const std::byte> bytes);
  // The hash of everything fed so far, and how many bytes that was.
  std::uint64_t Digest() const;
  std::int64_t Length() const noexcept { return m_Length; }

 private:
  struct State;
  std::unique_ptr<State> m_State;
  std::int64_t m_Length = 0;
};
