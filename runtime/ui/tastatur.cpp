#include "runtime/ui/tastatur.h"

#include <algorithm>

namespace kaldorin {

namespace {

bool Enthaelt(std::span<const Tastenziel> controls, Handle h) {
    return h != 0 && std::any_of(controls.begin(), controls.end(),
                                 [h](const Tastenziel& c) { return c.handle == h; });
}

bool Nimmt(std::span<const Tastenziel> controls, Handle h) {
    return h != 0 && std::any_of(controls.begin(), controls.end(), [h](const Tastenziel& c) {
               return c.handle == h && Fokussierbar(c);
           });
}

}  // namespace

bool Fokussierbar(const Tastenziel& control) {
    const bool art = control.art == Art::TextBox || control.art == Art::Button ||
                     control.art == Art::CheckBox;
    return art && control.gezeigt && control.verfuegbar;
}

Handle TabZiel(std::span<const Tastenziel> controls, Handle von, bool rueckwaerts) {
    const auto n = static_cast<std::ptrdiff_t>(controls.size());
    if (n == 0) return 0;
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [von](const Tastenziel& c) { return c.handle == von; });
    // From outside the list, start just before the first (or after the last) place.
    std::ptrdiff_t i = it != controls.end() ? it - controls.begin() : (rueckwaerts ? 0 : n - 1);
    for (std::ptrdiff_t schritt = 0; schritt < n; ++schritt) {
        i = (i + (rueckwaerts ? n - 1 : 1)) % n;
        if (Fokussierbar(controls[static_cast<std::size_t>(i)]))
            return controls[static_cast<std::size_t>(i)].handle;
    }
    return 0;
}

Handle AnfangsFokus(std::span<const Tastenziel> controls, Handle gewuenscht) {
    if (Nimmt(controls, gewuenscht)) return gewuenscht;
    for (const Tastenziel& c : controls)
        if (c.art == Art::Button && Fokussierbar(c)) return c.handle;
    return TabZiel(controls, 0, false);
}

Tastenwirkung Wirkung(Taste taste, Art fokus) {
    switch (taste) {
        case Taste::Tab: return Tastenwirkung::Vor;
        case Taste::UmschaltTab: return Tastenwirkung::Zurueck;
        case Taste::Escape: return Tastenwirkung::Schliessen;
        case Taste::Enter: return fokus == Art::Button ? Tastenwirkung::Druecken : Tastenwirkung::Keine;
        case Taste::Leertaste:
            if (fokus == Art::Button) return Tastenwirkung::Druecken;
            return fokus == Art::CheckBox ? Tastenwirkung::Umschalten : Tastenwirkung::Keine;
    }
    return Tastenwirkung::Keine;
}

Handle Tastaturfokus::Pruefen(Handle fenster, std::span<const Tastenziel> controls) {
    Handle ziel = 0;
    if (fenster != fenster_ || !Enthaelt(controls, fokus_)) {
        ziel = AnfangsFokus(controls, verlangt_);
    } else if (Nimmt(controls, verlangt_)) {
        ziel = verlangt_;
    } else {
        // The focused control still takes the focus, or the next one in tab order does.
        ziel = Nimmt(controls, fokus_) ? fokus_ : TabZiel(controls, fokus_, false);
    }
    fenster_ = fenster;
    verlangt_ = 0;
    if (ziel) fokus_ = ziel;
    return ziel;
}

}  // namespace kaldorin
