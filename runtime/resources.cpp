#include "runtime/resources.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "runtime/runtime.h"

namespace kaldorin {
namespace {

std::string Schluessel(std::string_view name) {
    std::string s(name);
    if (!s.empty() && s.front() == ':') s.erase(0, 1);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Built on first use, so registration from other translation units' static
// objects does not depend on the order of initialisation.
std::map<std::string, std::string_view>& Verzeichnis() {
    static std::map<std::string, std::string_view> verzeichnis;
    return verzeichnis;
}

}  // namespace

RessourceAnmeldung::RessourceAnmeldung(std::string_view name, const unsigned char* daten,
                                       std::size_t groesse) {
    Verzeichnis()[Schluessel(name)] =
        std::string_view(reinterpret_cast<const char*>(daten), groesse);
}

bool RessourceVorhanden(std::string_view name) {
    return Verzeichnis().count(Schluessel(name)) != 0;
}

std::string_view Ressource(std::string_view name) {
    auto it = Verzeichnis().find(Schluessel(name));
    if (it == Verzeichnis().end())
        throw Laufzeitfehler("Die Ressource \"" + std::string(name) + "\" fehlt im Programm.");
    return it->second;
}

}  // namespace kaldorin
