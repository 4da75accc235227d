#pragma once
// Windows shell links (.lnk) in the published Shell Link binary format: a header,
// a LinkInfo with the local path of the target (Windows-1252, and UTF-16 when the
// path is not plain ASCII) and the working folder as a Unicode string.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin::posix {

struct LinkZiel {
    std::string pfad;              // Windows path "X:\...", UTF-8
    std::uint32_t attribute = 0;   // FILE_ATTRIBUTE_* of the target when known, else 0
    std::uint32_t groesse = 0;     // size of the target when known (low 32 bits)
};

// The target in the form a link stores: "X:\a\b", slashes turned into backslashes,
// doubled separators and "." / ".." applied. Throws Laufzeitfehler for anything that
// is not an absolute path with a drive letter.
std::string LinkPfad(std::string_view ziel);

// The bytes of a link to `ziel` (whose path LinkPfad has normalised).
std::vector<std::uint8_t> LinkBytes(const LinkZiel& ziel);

// Writes `bytes` to host path `datei` through a temporary file in the same folder,
// flushed and renamed over it. Throws Laufzeitfehler; nothing is left behind then.
void SchreibeDateiAtomar(const std::string& datei, const std::vector<std::uint8_t>& bytes);

}  // namespace kaldorin::posix
