#include "licence/vertrag.h"

#include <sstream>

#include "runtime/resources.h"
#include "runtime/runtime.h"

namespace kaldorin {

namespace {

// "art: text" -> art and text; false when the line has no such form.
bool Zerlegen(const std::string& zeile, std::string& art, std::string& text) {
    const auto doppelpunkt = zeile.find(": ");
    if (doppelpunkt == std::string::npos) return false;
    art = zeile.substr(0, doppelpunkt);
    text = zeile.substr(doppelpunkt + 2);
    return true;
}

}  // namespace

Vertrag Vertrag_Lesen(std::string_view text) {
    Vertrag vertrag;
    std::istringstream eingabe{std::string(text)};
    std::string zeile, art, inhalt;
    int nummer = 0;
    while (std::getline(eingabe, zeile)) {
        ++nummer;
        if (zeile.empty() || zeile[0] == '#') continue;
        const bool form = Zerlegen(zeile, art, inhalt);
        const bool hatAbschnitt = !vertrag.abschnitte.empty();
        if (form && art == "praeambel") {
            vertrag.praeambel.push_back(inhalt);
        } else if (form && art == "abschnitt") {
            vertrag.abschnitte.push_back({inhalt, {}, {}});
        } else if (form && art == "zeile" && hatAbschnitt) {
            vertrag.abschnitte.back().zeilen.push_back(inhalt);
        } else if (form && art == "punkt" && hatAbschnitt) {
            vertrag.abschnitte.back().punkte.push_back({inhalt, {}});
        } else if (form && art == "unterzeile" && hatAbschnitt &&
                   !vertrag.abschnitte.back().punkte.empty()) {
            vertrag.abschnitte.back().punkte.back().zeilen.push_back(inhalt);
        } else {
            throw Laufzeitfehler("Lizenzvertrag, Zeile " + std::to_string(nummer) +
                                 " ist nicht lesbar.");
        }
    }
    return vertrag;
}

const Vertrag& Lizenzvertrag() {
    static const Vertrag vertrag = Vertrag_Lesen(Resource(":lizenz"));
    return vertrag;
}

}  // namespace kaldorin
