// SHA-256 from nettle: small, on every Debian system already (the package tools need
// it through GnuTLS), and it uses the processor's SHA instructions where they exist.
#include "runtime/sha256.h"

#include <nettle/sha2.h>

namespace kaldorin {

namespace {

class NettleSha256 : public Sha256 {
public:
    NettleSha256() { sha256_init(&ctx_); }
    void Update(std::span<const std::uint8_t> bytes) override { sha256_update(&ctx_, bytes.size(), bytes.data()); }
    std::array<std::uint8_t, 32> Finish() override {
        std::array<std::uint8_t, 32> digest{};
        sha256_digest(&ctx_, digest.size(), digest.data());  // and starts afresh
        return digest;
    }

private:
    sha256_ctx ctx_{};
};

}  // namespace

std::unique_ptr<Sha256> MakeSha256() { return std::make_unique<NettleSha256>(); }

}  // namespace kaldorin
