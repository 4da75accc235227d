#pragma once
// Expansion of a packed stream: one or more zstd frames, each with the content
// checksum. Portable: no file access here. The bytes come in as pieces through
// Weiter(), the content goes out through a sink in pieces of 1 MiB (the last one
// shorter), so a host can feed buffered reads and write into a temporary file without
// ever holding the stream or the content whole.
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
#include <vector>

#include "runtime/grosser_speicher.h"

namespace kaldorin {

struct ByteRange;

// Receives the content in order, piece by piece. May throw; the error travels.
using Senke = std::function<void(std::span<const std::uint8_t>)>;
// A buffer of content: large, so it lives in memory for large buffers.
using Puffer = std::vector<std::uint8_t, GrossAllokator<std::uint8_t>>;
// Receives the first `n` bytes of `puffer` and may swap `puffer` for another buffer of
// the same size, so that the content changes hands without being copied.
using Puffersenke = std::function<void(Puffer& puffer, std::size_t n)>;
// Fills `ziel` with the source's bytes from `offset` on; throws when it cannot.
using Leser = std::function<void(std::uint64_t offset, std::span<std::uint8_t> ziel)>;

// The shortest stream worth looking at; anything shorter is rejected as too short.
inline constexpr std::uint64_t kMindestLaengeStrom = 5;

// Throws the too-short fault for a stream of fewer than kMindestLaengeStrom bytes.
void LaengePruefen(std::uint64_t stromLaenge);

class Entpacker {
public:
    explicit Entpacker(Senke senke);
    explicit Entpacker(Puffersenke senke);
    ~Entpacker();
    Entpacker(const Entpacker&) = delete;
    Entpacker& operator=(const Entpacker&) = delete;

    // The next piece of the packed stream. Throws at the first fault it can see.
    void Weiter(std::span<const std::uint8_t> teil);
    // The stream has ended: throws when it is too short or stops inside a frame,
    // otherwise hands the content still held to the sink.
    void Abschliessen();

    // Content bytes handed to the sink so far.
    std::uint64_t Ausgegeben() const;

private:
    struct Zustand;
    std::unique_ptr<Zustand> z_;
};

// Expands a stream given as consecutive pieces in one call.
void Entpacken(std::span<const std::span<const std::uint8_t>> teile, const Senke& senke);

// Expands the stream made of the byte ranges `strom` of a source (each range already
// checked against the source's length). The calling thread reads and decodes into a
// small ring of buffers while a second thread hands them to `schreiben` in order: the
// disk is busy while the processor decodes. Memory: the decoder's window plus a few
// MiB. The first fault of either side is thrown on the calling thread once the second
// thread has stopped; `schreiben` is never called again after it threw. Without a
// second thread (the system refuses one) everything runs on the calling thread.
void EntpackenNebenher(std::span<const ByteRange> strom, const Leser& lesen,
                       const Senke& schreiben);

}  // namespace kaldorin
