#include "runtime/resources.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "runtime/runtime.h"

namespace kaldorin {
namespace {

std::string Key(std::string_view name) {
    std::string s(name);
    if (!s.empty() && s.front() == ':') s.erase(0, 1);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Built on first use, so registration from other translation units' static
// objects does not depend on the order of initialisation.
std::map<std::string, std::string_view>& Registry() {
    static std::map<std::string, std::string_view> registry;
    return registry;
}

}  // namespace

ResourceRegistration::ResourceRegistration(std::string_view name, const unsigned char* data, std::size_t size) {
    Registry()[Key(name)] = std::string_view(reinterpret_cast<const char*>(data), size);
}

bool ResourceExists(std::string_view name) {
    return Registry().count(Key(name)) != 0;
}

std::string_view Resource(std::string_view name) {
    auto it = Registry().find(Key(name));
    if (it == Registry().end())
        throw Laufzeitfehler("Die Ressource \"" + std::string(name) + "\" fehlt im Programm.");
    return it->second;
}

}  // namespace kaldorin
