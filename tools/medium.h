#pragma once
// Whole media: building one from an application folder, the demo medium, checking one.

#include <filesystem>
#include <iosfwd>
#include <optional>

#include "tools/fortschritt.h"
#include "tools/packen.h"

namespace kaldorin::pack {

struct MediumOptionen {
    PackOptionen packen;
    std::optional<fs::path> setup;  // the setup program; else looked for beside this tool
    fs::path werkzeugOrdner;        // the folder of kaldorin-pack itself
};

// Each returns the exit code; `bericht` gets one line per file, errors included.
int BaueMedium(const fs::path& anwendung, const fs::path& medium, const MediumOptionen& o,
               Fortschritt& fortschritt, std::ostream& bericht);
// `anwendung`: where the expanded demo tree goes as well, when given.
int BaueDemo(const fs::path& medium, double massstab, const std::optional<fs::path>& anwendung,
             const MediumOptionen& o, Fortschritt& fortschritt, std::ostream& bericht);
int PruefeMedium(const fs::path& medium, Fortschritt& fortschritt, std::ostream& bericht);

// The path under `ordner` that names the Windows-style relative path `name`, each
// component matched without regard to case; nullopt when a component is missing.
std::optional<fs::path> FindeOhneFall(const fs::path& ordner, std::string_view name);

}  // namespace kaldorin::pack
