#pragma once
// Packing one file into the medium layout and unpacking it again. A medium file is
// the packed stream with a filler byte after its fifth byte and one at its end.
// Outputs are written beside their final name and renamed into place when complete.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>

#include "runtime/entpacken.h"
#include "runtime/runtime.h"
#include "tools/fortschritt.h"

namespace kaldorin::pack {

namespace fs = std::filesystem;

struct PackFehler : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct PackOptionen {
    int stufe = 19;      // zstd compression level
    int fensterLog = 0;  // window size as a power of two; 0: what the level chooses
};

// Fills the buffer from the front and returns how many bytes it put there; 0 at the end.
using Leser = std::function<std::size_t(std::span<std::uint8_t>)>;

// Packs `groesse` bytes from `lesen` into the medium file `ziel`. Returns its size.
std::uint64_t PackeStrom(const Leser& lesen, std::uint64_t groesse, const fs::path& ziel,
                         const PackOptionen& optionen, Fortschritt& fortschritt);
std::uint64_t PackeDatei(const fs::path& quelle, const fs::path& ziel,
                         const PackOptionen& optionen, Fortschritt& fortschritt);
std::uint64_t PackeInhalt(std::span<const std::uint8_t> inhalt, const fs::path& ziel,
                          const PackOptionen& optionen, Fortschritt& fortschritt);

// Unpacks the medium file `quelle` into `senke`; returns the content size. Throws
// Laufzeitfehler for a damaged stream and PackFehler when the file cannot be read.
std::uint64_t EntpackeMedium(const fs::path& quelle, const Senke& senke,
                             Fortschritt& fortschritt);
// The same for the medium file that lies at `teil` inside `quelle`, shown as `name`.
std::uint64_t EntpackeMediumTeil(const fs::path& quelle, ByteRange teil, const std::string& name,
                                 const Senke& senke, Fortschritt& fortschritt);
void EntpackeDatei(const fs::path& quelle, const fs::path& ziel, Fortschritt& fortschritt);

// Copies a file into place the same way (temporary name, then rename).
void KopiereDatei(const fs::path& quelle, const fs::path& ziel);

}  // namespace kaldorin::pack
