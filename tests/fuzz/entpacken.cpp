// A packed file expanded through the numbered files, as the installation does it
// (the stream is the file without its sixth and its last byte). Whatever the file holds:
// - a rejected stream throws Laufzeitfehler and never changes the target: the old
//   content stays byte for byte and no temporary file is left beside it;
// - an accepted stream leaves in the target exactly what libzstd makes of it.

#include <zstd.h>

#include <array>
#include <vector>

#include "runtime/host/posix/nummerierte_dateien.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;
using namespace kaldorin::fuzz;

namespace {

const std::string kAlt = "der alte Inhalt des Ziels\n";

// What libzstd makes of the stream, when it makes exactly `erwartet` bytes. Its two
// decoders disagree on one degenerate frame: a last RLE block of size 0 is an empty
// block to the streaming decoder (the one we use, so its byte is read as the checksum)
// and corruption to the one-shot decoder. Either result counts.
bool LibzstdErgibt(const std::string& strom, const std::string& erwartet) {
    std::vector<char> aus(erwartet.size() + 1);
    const std::size_t n = ZSTD_decompress(aus.data(), aus.size(), strom.data(), strom.size());
    if (!ZSTD_isError(n) && std::string(aus.data(), n) == erwartet) return true;

    // Byte by byte, so no piece ever holds the whole frame and takes the one-shot path.
    ZSTD_DCtx* dctx = ZSTD_createDCtx();
    std::string ergebnis;
    std::size_t r = 1;
    for (std::size_t i = 0; i < strom.size() && !ZSTD_isError(r); ++i) {
        ZSTD_inBuffer ein{strom.data() + i, 1, 0};
        do {
            ZSTD_outBuffer a{aus.data(), aus.size(), 0};
            r = ZSTD_decompressStream(dctx, &a, &ein);
            if (!ZSTD_isError(r)) ergebnis.append(aus.data(), a.pos);
        } while (!ZSTD_isError(r) && ein.pos < ein.size);
    }
    ZSTD_freeDCtx(dctx);
    return r == 0 && ergebnis == erwartet;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string ordner = Arbeitsordner();
    const std::string quelle = ordner + "/A.PA1", ziel = ordner + "/ziel.ovl";
    const std::string datei = Text(daten, groesse);
    Schreibe(quelle, datei);
    Schreibe(ziel, kAlt);

    // Under 7 bytes there is no room for the filler bytes: the whole file is offered.
    const std::array<ByteRange, 2> strom =
        groesse >= 7 ? std::array{ByteRange{0, 5}, ByteRange{6, groesse - 7}}
                     : std::array{ByteRange{0, groesse}, ByteRange{groesse, 0}};
    NummerierteDateien dateien;
    const int q = dateien.OpenRead(quelle);
    const int z = dateien.OpenWrite(ziel);
    try {
        dateien.Unpack(q, strom, z);
    } catch (const Laufzeitfehler&) {
        dateien.Discard(z);
        PRUEFE(Lies(ziel) == kAlt);
        PRUEFE(Namen(ordner) == (std::set<std::string>{"A.PA1", "ziel.ovl"}));
        return 0;
    }
    dateien.Close(z);  // an accepted stream must also be completed
    std::string gepackt;
    for (const ByteRange& b : strom) gepackt += datei.substr(b.offset, b.length);
    PRUEFE(LibzstdErgibt(gepackt, Lies(ziel)));
    PRUEFE(Namen(ordner) == (std::set<std::string>{"A.PA1", "ziel.ovl"}));
    return 0;
}
