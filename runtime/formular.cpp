#include "runtime/formular.h"

#include <charconv>
#include <map>
#include <sstream>

namespace kaldorin {
namespace {

const std::map<std::string, Art, std::less<>> kArten = {
    {"label", Art::Label},       {"textbox", Art::TextBox},
    {"button", Art::Button},     {"frame", Art::Frame},
    {"checkbox", Art::CheckBox}, {"progressbar", Art::ProgressBar},
    {"picture", Art::Picture},
};

[[noreturn]] void Fehler(int zeile, const std::string& was) {
    throw Laufzeitfehler("Formularbeschreibung, Zeile " + std::to_string(zeile) + ": " + was);
}

// Splits a line into words; a double-quoted text is one word (marked by a leading ").
std::vector<std::string> Woerter(std::string_view line, int zeile) {
    std::vector<std::string> woerter;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') { ++i; continue; }
        if (line[i] == '"') {
            std::string text = "\"";
            for (++i;; ++i) {
                if (i >= line.size()) Fehler(zeile, "Text ohne schliessendes Anfuehrungszeichen");
                if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
                    text += '"';
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    text += line[i];
                }
            }
            woerter.push_back(text);
            continue;
        }
        std::size_t ende = line.find_first_of(" \t", i);
        if (ende == std::string_view::npos) ende = line.size();
        woerter.emplace_back(line.substr(i, ende - i));
        i = ende;
    }
    return woerter;
}

int Zahl(const std::string& wort, int zeile) {
    int wert = 0;
    auto [ptr, ec] = std::from_chars(wort.data(), wort.data() + wort.size(), wert);
    if (ec != std::errc() || ptr != wort.data() + wort.size()) Fehler(zeile, "keine Zahl: " + wort);
    return wert;
}

// A name stands bare: a quoted text in its place would keep the quote as part of it.
const std::string& Name(const std::string& wort, int zeile) {
    if (wort[0] == '"') Fehler(zeile, "Name erwartet, nicht Text: " + wort.substr(1));
    return wort;
}

}  // namespace

FormDescription ParseForm(std::string_view text) {
    FormDescription form;
    std::istringstream eingabe{std::string(text)};
    std::string line;
    int zeile = 0;
    while (std::getline(eingabe, line)) {
        ++zeile;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto w = Woerter(line, zeile);
        if (w.empty() || w[0][0] == '#') continue;
        if (w[0] == "form") {
            if (!form.name.empty()) Fehler(zeile, "zweite Formularzeile");
            if (w.size() != 5 || w[4][0] != '"') Fehler(zeile, "form NAME BREITE HOEHE \"TITEL\" erwartet");
            form.name = Name(w[1], zeile);
            form.width = Zahl(w[2], zeile);
            form.height = Zahl(w[3], zeile);
            form.title = w[4].substr(1);
            continue;
        }
        if (form.name.empty()) Fehler(zeile, "die Formularzeile muss zuerst stehen");
        auto art = kArten.find(w[0]);
        if (art == kArten.end()) Fehler(zeile, "unbekannte Art: " + w[0]);
        if (w.size() < 6) Fehler(zeile, "ART NAME X Y BREITE HOEHE erwartet");
        FormElement e;
        e.art = art->second;
        e.name = Name(w[1], zeile);
        e.x = Zahl(w[2], zeile);
        e.y = Zahl(w[3], zeile);
        e.width = Zahl(w[4], zeile);
        e.height = Zahl(w[5], zeile);
        for (std::size_t i = 6; i < w.size(); ++i) {
            if (w[i][0] == '"') e.text = w[i].substr(1);
            else if (w[i] == "disabled") e.available = false;
            else if (w[i] == "bold") e.bold = true;
            else if (w[i].rfind("size=", 0) == 0) e.fontSize = Zahl(w[i].substr(5), zeile);
            else Fehler(zeile, "unbekannte Angabe: " + w[i]);
        }
        form.elements.push_back(std::move(e));
    }
    if (form.name.empty()) Fehler(zeile, "keine Formularzeile");
    return form;
}

}  // namespace kaldorin
