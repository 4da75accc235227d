#include "tools/medium_liste.h"

#include "install/installation.h"
#include "programm/programm.h"

namespace kaldorin::pack {

namespace {

// The program writes names with a leading backslash; the medium's are bare.
std::string Ohne_Backslash(std::string_view name) {
    return std::string(name.substr(name.starts_with('\\') ? 1 : 0));
}

std::vector<MediumDatei> Zusammenstellen() {
    std::vector<MediumDatei> medium;
    for (std::size_t position = 0; position < Hauptliste_Ziele.size(); ++position)
        medium.push_back({Ohne_Backslash(Hauptliste_Quelle(static_cast<int>(position),
                                                           Kennung_Codes.at(position))),
                          Ohne_Backslash(Hauptliste_Ziele[position]), true});
    for (const Zusatzdatei& datei : Zusatzliste)
        medium.push_back({Ohne_Backslash(datei.quelle), Ohne_Backslash(datei.ziel), false});
    return medium;
}

}  // namespace

const std::vector<MediumDatei>& Medium() {
    static const std::vector<MediumDatei> medium = Zusammenstellen();
    return medium;
}

}  // namespace kaldorin::pack
