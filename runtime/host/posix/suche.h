#pragma once
// The directory search: a snapshot of the names in one folder that match a
// pattern and an attribute class, handed out one by one.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kaldorin::posix {

constexpr int kSchreibgeschuetzt = 1;
constexpr int kVersteckt = 2;
constexpr int kSystem = 4;
constexpr int kOrdner = 16;

// Attribute bits of the entry `name` in folder `ordner` (host path): 16 folder,
// 2 hidden (the name starts with "."), 1 read-only (the owner may not write).
// Nothing when the entry does not exist.
std::optional<int> Attribute(const std::string& ordner, const std::string& name);

// Whether an entry with these bits is listed for the attribute class: ordinary
// entries always, folders with 16, hidden and system entries with 2 or 4.
bool Gelistet(int attribute, int attributklasse);

class Suche {
public:
    // Starts a search in `ordner` for `muster` (the last component, may hold * and ?).
    // Returns the first name or "".
    std::string Erste(const std::string& ordner, const std::string& muster, int attributklasse);
    // The next name or "". Throws when no search was started.
    std::string Naechste();
    // Bits of the name found last. Throws when the search found nothing.
    int AttributeDesTreffers() const;
    // Ends the current search so that it finds nothing.
    void Leeren();

private:
    struct Treffer {
        std::string name;
        int attribute = 0;
    };
    std::vector<Treffer> treffer_;
    std::size_t naechster_ = 0;
    std::optional<int> aktuell_;
    bool begonnen_ = false;
};

}  // namespace kaldorin::posix
