#pragma once
// SHA-256 behind a small interface, so that the bundle check (runtime/bundle.h) stays
// free of the system: each host library makes it from what its platform has
// (runtime/host/posix/sha256.cpp: nettle; runtime/host/win32/sha256_w32.cpp: BCrypt).

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace kaldorin {

class Sha256 {
public:
    virtual ~Sha256() = default;
    virtual void Update(std::span<const std::uint8_t> bytes) = 0;
    // The digest of everything given so far; the object starts afresh afterwards.
    virtual std::array<std::uint8_t, 32> Finish() = 0;
};

// Defined by the host library of the platform. Throws Laufzeitfehler when the system
// offers no SHA-256.
std::unique_ptr<Sha256> MakeSha256();

}  // namespace kaldorin
