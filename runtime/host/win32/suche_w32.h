#pragma once
// The directory search over FindFirstFileW: a snapshot of the matching names of one
// folder, filtered by the attribute class, handed out one by one.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kaldorin::w32 {

// Whether an entry with these attribute bits is listed for the attribute class:
// ordinary files always, folders with 16, hidden and system entries with 2 or 4.
bool Gelistet(unsigned long attribute, int attributklasse);

class Suche {
public:
    // Starts a search for `muster` (a Windows path; * and ? in the last component).
    // Returns the first name or "".
    std::string Erste(const std::string& muster, int attributklasse);
    // The next name or "". Throws when no search was started.
    std::string Naechste();
    // Bits of the name found last (1 read-only, 2 hidden, 4 system, 16 folder,
    // 32 archive). Throws when the search found nothing.
    int AttributeDesTreffers() const;

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

}  // namespace kaldorin::w32
