#pragma once
// Bundles: one setup program that carries a medium's packed files (runtime/bundle.h,
// docs/bundle.md), and their check.

#include <filesystem>
#include <iosfwd>
#include <optional>

#include "tools/fortschritt.h"

namespace kaldorin::pack {

namespace fs = std::filesystem;

// Appends the packed files of `medium` to the setup program (`setup`, else the one on
// the medium: Setup.exe, else kaldorin-setup) and writes the result to `datei`, the
// same bytes for the same inputs. Returns the exit code.
int BaueBuendel(const fs::path& medium, const fs::path& datei, const std::optional<fs::path>& setup,
                Fortschritt& fortschritt, std::ostream& bericht);
// Checks a bundle as verify checks a medium: its payload whole, then every packed file.
int PruefeBuendel(const fs::path& datei, Fortschritt& fortschritt, std::ostream& bericht);

}  // namespace kaldorin::pack
