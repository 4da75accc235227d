#pragma once
// Per-user settings in one INI file: sections "[Application\Section]", lines
// "key=value", UTF-8. Names match without regard to case. Reads hold a shared
// lock, writes an exclusive one on a separate lock file; a write replaces the
// file atomically (temporary file, fsync, rename). A file that cannot be read or
// parsed fails every operation and is never overwritten. Lines the store does not
// change (comments, other sections, the spelling of names) stay as they are.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin::posix {

class Einstellungen {
public:
    // `datei`: host path of the INI file; the lock file is `datei` + ".lock".
    explicit Einstellungen(std::string datei);

    std::optional<std::string> Lesen(std::string_view anwendung, std::string_view abschnitt,
                                     std::string_view schluessel) const;
    void Schreiben(std::string_view anwendung, std::string_view abschnitt,
                   std::string_view schluessel, std::string_view wert);
    // Each throws when what it deletes does not exist.
    void LoescheSchluessel(std::string_view anwendung, std::string_view abschnitt,
                           std::string_view schluessel);
    void LoescheAbschnitt(std::string_view anwendung, std::string_view abschnitt);
    void LoescheAnwendung(std::string_view anwendung);
    // Removes a section and every section below it; nothing when there is none.
    // Unlike LoescheAbschnitt it puts no empty application in their place.
    void LoescheBaum(std::string_view anwendung, std::string_view abschnitt);

    // One line of the file, as read and as interpreted.
    struct Zeile {
        enum class Art { Leer, Kommentar, Kopf, Wert } art = Art::Leer;
        std::string roh;                  // without line end
        std::string anwendung, abschnitt; // Kopf: the names it opens ("" section: the application alone)
        std::string schluessel, wert;     // Wert: name and decoded value
    };
    struct Inhalt {
        bool bom = false;
        std::vector<Zeile> zeilen;
    };

    // The file's text taken apart; throws Laufzeitfehler naming the line that is wrong.
    static Inhalt Zerlege(std::string_view text);
    static std::string Zusammensetzen(const Inhalt& inhalt);
    // The line "key=value" with the value quoted when it must be.
    static std::string WertZeile(std::string_view schluessel, std::string_view wert);

private:
    Inhalt LiesUnterSperre() const;
    void Aendere(const std::function<void(Inhalt&)>& aenderung);
    void SchreibeAtomar(const std::string& text) const;

    std::string datei_;
    std::string sperrdatei_;
};

}  // namespace kaldorin::posix
