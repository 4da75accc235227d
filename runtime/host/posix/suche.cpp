#include "runtime/host/posix/suche.h"

#include <sys/stat.h>

#include <algorithm>

#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/pfade.h"
#include "runtime/host/posix/text.h"

namespace kaldorin::posix {

std::optional<int> Attribute(const std::string& ordner, const std::string& name) {
    const std::string pfad = Verbinde(ordner, name);
    struct stat st {};
    // A link counts as what it points at; a dangling link as an ordinary file.
    if (stat(pfad.c_str(), &st) != 0 && lstat(pfad.c_str(), &st) != 0) return std::nullopt;
    int bits = 0;
    if (S_ISDIR(st.st_mode)) bits |= kOrdner;
    if (!name.empty() && name.front() == '.') bits |= kVersteckt;
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) bits |= kSchreibgeschuetzt;
    return bits;
}

bool Gelistet(int attribute, int attributklasse) {
    if ((attribute & kOrdner) && !(attributklasse & kOrdner)) return false;
    if ((attribute & (kVersteckt | kSystem)) && !(attributklasse & (kVersteckt | kSystem))) {
        return false;
    }
    return true;
}

std::string Suche::Erste(const std::string& ordner, const std::string& muster, int attributklasse) {
    begonnen_ = true;
    treffer_.clear();
    naechster_ = 0;
    aktuell_.reset();
    if (muster.empty() || muster == "." || muster == "..") return "";
    if (!HatJoker(muster)) {
        // A plain name finds that one entry, in its case on disk.
        if (auto name = FindeEintrag(ordner, muster)) {
            if (auto bits = Attribute(ordner, *name); bits && Gelistet(*bits, attributklasse)) {
                treffer_.push_back({*name, *bits});
            }
        }
        return Naechste();
    }
    for (const auto& name : Eintraege(ordner).value_or(std::vector<std::string>{})) {
        if (!PasstZuMuster(name, muster)) continue;
        if (auto bits = Attribute(ordner, name); bits && Gelistet(*bits, attributklasse)) {
            treffer_.push_back({name, *bits});
        }
    }
    std::sort(treffer_.begin(), treffer_.end(),
              [](const Treffer& a, const Treffer& b) { return a.name < b.name; });
    return Naechste();
}

std::string Suche::Naechste() {
    if (!begonnen_) Fehler("Es läuft keine Verzeichnissuche.");
    if (naechster_ >= treffer_.size()) {
        aktuell_.reset();
        return "";
    }
    const Treffer& t = treffer_[naechster_++];
    aktuell_ = t.attribute;
    return t.name;
}

int Suche::AttributeDesTreffers() const {
    if (!aktuell_) Fehler("Die Verzeichnissuche hat keinen Eintrag gefunden.");
    return *aktuell_;
}

void Suche::Leeren() {
    begonnen_ = true;
    treffer_.clear();
    naechster_ = 0;
    aktuell_.reset();
}

}  // namespace kaldorin::posix
