#include "runtime/strings.h"

#include <cstdio>

namespace kaldorin {

std::string ZahlText(long long zahl) { return std::to_string(zahl); }

std::string ZahlStellen(long long zahl, int stellen) {
    std::string text = std::to_string(zahl < 0 ? -zahl : zahl);
    if (static_cast<int>(text.size()) < stellen) text.insert(0, stellen - text.size(), '0');
    return zahl < 0 ? "-" + text : text;
}

std::string Leerzeichen(int n) { return std::string(n > 0 ? n : 0, ' '); }

std::string BisNull(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

bool EndetMit(std::string_view text, std::string_view ende) {
    return text.size() >= ende.size() && text.substr(text.size() - ende.size()) == ende;
}

}  // namespace kaldorin
