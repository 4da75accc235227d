#include "runtime/host/posix/text.h"

#include <array>

namespace kaldorin::posix {
namespace {

constexpr char32_t kUngueltig = 0xDC00;

// Decodes one sequence at `i`; returns its length, 0 when it is not valid UTF-8.
std::size_t Dekodiere(std::string_view text, std::size_t i, char32_t& zeichen) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        zeichen = b0;
        return 1;
    }
    std::size_t laenge = 0;
    char32_t wert = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        laenge = 2, wert = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        laenge = 3, wert = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        laenge = 4, wert = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + laenge > text.size()) return 0;
    for (std::size_t k = 1; k < laenge; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        wert = (wert << 6) | (b & 0x3F);
    }
    if (wert < minimum || wert > 0x10FFFF || (wert >= 0xD800 && wert <= 0xDFFF)) return 0;
    zeichen = wert;
    return laenge;
}

char32_t Falte(char32_t z) {
    if (z >= U'A' && z <= U'Z') return z + 32;
    if (z >= 0xC0 && z <= 0xDE && z != 0xD7) return z + 32;  // À..Þ without ×
    if (z == 0x1E9E) return 0xDF;                              // ẞ -> ß
    if (z == 0x178) return 0xFF;                               // Ÿ -> ÿ
    return z;
}

bool PasstAb(const std::u32string& name, std::size_t n, const std::u32string& muster,
             std::size_t m) {
    // Iterative matching with one backtrack point for the last star.
    std::size_t sternM = std::u32string::npos, sternN = 0;
    while (n < name.size()) {
        if (m < muster.size() && (muster[m] == U'?' || muster[m] == name[n])) {
            ++n, ++m;
        } else if (m < muster.size() && muster[m] == U'*') {
            sternM = m++, sternN = n;
        } else if (sternM != std::u32string::npos) {
            m = sternM + 1, n = ++sternN;
        } else {
            return false;
        }
    }
    while (m < muster.size() && muster[m] == U'*') ++m;
    return m == muster.size();
}

}  // namespace

bool GueltigesUtf8(std::string_view text) {
    char32_t z = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t laenge = Dekodiere(text, i, z);
        if (laenge == 0) return false;
        i += laenge;
    }
    return true;
}

std::u32string Zeichen(std::string_view text) {
    std::u32string ergebnis;
    char32_t z = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t laenge = Dekodiere(text, i, z);
        if (laenge == 0) {
            ergebnis.push_back(kUngueltig + static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            ergebnis.push_back(z);
            i += laenge;
        }
    }
    return ergebnis;
}

std::u32string Gefaltet(std::string_view text) {
    std::u32string z = Zeichen(text);
    for (auto& c : z) c = Falte(c);
    return z;
}

bool GleichOhneFall(std::string_view a, std::string_view b) { return Gefaltet(a) == Gefaltet(b); }

bool HatJoker(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool PasstZuMuster(std::string_view name, std::string_view muster) {
    if (muster == "*.*") return true;
    return PasstAb(Gefaltet(name), 0, Gefaltet(muster), 0);
}

std::string Windows1252(std::string_view utf8, bool& vollstaendig) {
    // Code points of bytes 0x80..0x9F; 0 where the code page has no character.
    static constexpr std::array<char16_t, 32> kObere = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string ergebnis;
    vollstaendig = true;
    for (char32_t z : Zeichen(utf8)) {
        if (z < 0x80 || (z >= 0xA0 && z <= 0xFF)) {
            ergebnis.push_back(static_cast<char>(z));
            continue;
        }
        char byte = '?';
        for (std::size_t k = 0; k < kObere.size(); ++k) {
            if (kObere[k] != 0 && kObere[k] == z) byte = static_cast<char>(0x80 + k);
        }
        if (byte == '?') vollstaendig = false;
        ergebnis.push_back(byte);
    }
    return ergebnis;
}

std::u16string Utf16(std::string_view utf8) {
    std::u16string ergebnis;
    for (char32_t z : Zeichen(utf8)) {
        if (z >= 0xDC00 && z <= 0xDCFF) z = 0xFFFD;
        if (z >= 0x10000) {
            z -= 0x10000;
            ergebnis.push_back(static_cast<char16_t>(0xD800 + (z >> 10)));
            ergebnis.push_back(static_cast<char16_t>(0xDC00 + (z & 0x3FF)));
        } else {
            ergebnis.push_back(static_cast<char16_t>(z));
        }
    }
    return ergebnis;
}

}  // namespace kaldorin::posix
