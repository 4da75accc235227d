#pragma once
// Expansion of a packed stream: one or more zstd frames, each with the content
// checksum. Portable: no file access here. The bytes come in as pieces through
// Weiter(), the content goes out through a sink, so a host can feed a mapped file or
// buffered reads and write into a temporary file without ever holding the stream or
// the content whole.
//
// Every fault is a Laufzeitfehler with a German sentence: a stream under 5 bytes,
// data that is not a packed stream, a truncated stream, a wrong checksum, bytes after
// the last frame, a content size that does not match the frame header. The sink may
// already have received content when the fault shows; the caller throws that away.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace kaldorin {

// Receives the content in order, piece by piece. May throw; the error travels.
using Senke = std::function<void(std::span<const std::uint8_t>)>;

// The shortest stream worth looking at; anything shorter is rejected as too short.
inline constexpr std::uint64_t kMindestLaengeStrom = 5;

// Throws the too-short fault for a stream of fewer than kMindestLaengeStrom bytes.
void LaengePruefen(std::uint64_t stromLaenge);

class Entpacker {
public:
    explicit Entpacker(Senke senke);
    ~Entpacker();
    Entpacker(const Entpacker&) = delete;
    Entpacker& operator=(const Entpacker&) = delete;

    // The next piece of the packed stream. Throws at the first fault it can see.
    void Weiter(std::span<const std::uint8_t> teil);
    // The stream has ended: throws when it is too short or stops inside a frame.
    void Abschliessen();

    // Content bytes handed to the sink so far.
    std::uint64_t Ausgegeben() const;

private:
    struct Zustand;
    std::unique_ptr<Zustand> z_;
};

// Expands a stream given as consecutive pieces in one call.
void Entpacken(std::span<const std::span<const std::uint8_t>> teile, const Senke& senke);

}  // namespace kaldorin
