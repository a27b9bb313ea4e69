#include "cContentHash.h"

#include <new>

#define XXH_INLINE_ALL
#include <xxhash.h>

struct cContentHash::State {
  XXH3_state_t xxh;
};

cContentHash::cContentHash() : m_State(std::make_unique<State>()) {
  if (XXH3_64bits_reset(&m_State->xxh) != XXH_OK) throw std::bad_alloc();
}

cContentHash::~cContentHash() = default;

void cContentHash::Update(std::span<const std::byte> bytes) {
  XXH3_64bits_update(&m_State->xxh, bytes.data(), bytes.size());
  m_Length += static_cast<std::int64_t>(bytes.size());
}

std::uint64_t cContentHash::Digest() const { return XXH3_64bits_digest(&m_State->xxh); }
