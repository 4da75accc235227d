#pragma once
// The agreement text, read from the resource ":lizenz".

#include <string>
#include <string_view>
#include <vector>

namespace kaldorin {

struct Unterpunkt {
    std::string titel;
    std::vector<std::string> zeilen;
};

struct Abschnitt {
    std::string titel;
    std::vector<std::string> zeilen;
    std::vector<Unterpunkt> punkte;
};

struct Vertrag {
    std::vector<std::string> praeambel;
    std::vector<Abschnitt> abschnitte;
};

// Parses the agreement. Throws Laufzeitfehler for a line it does not understand.
Vertrag Vertrag_Lesen(std::string_view text);

// The agreement compiled into the program, read once.
const Vertrag& Lizenzvertrag();

}  // namespace kaldorin
