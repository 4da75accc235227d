#pragma once
// Shell links through IShellLinkW and IPersistFile.

#include <string>

namespace kaldorin::w32 {

// Writes the link file `pfad` pointing at `ziel` (both Windows paths), with the
// target's folder as working folder. The link is saved beside the final name first
// and then moved over it, so a failure never leaves half a link. Replaces a link of
// the same name; throws when the folder is missing or the file is read-only.
void VerknuepfungSchreiben(const std::string& pfad, const std::string& ziel);

}  // namespace kaldorin::w32
