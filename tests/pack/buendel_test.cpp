// One setup program that carries its medium: the format as kaldorin-pack writes it and
// the program checks it (every region, truncation, a signature's table behind it), and
// the Linux program installing from itself alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "runtime/bundle.h"
#include "runtime/host/posix/posix_host.h"
#include "tests/pack/hilfen.h"

namespace kaldorin::test {
namespace {

class Buendel : public MitBefehlen {
protected:
    // The locator as the file holds it, at the first mark.
    std::span<const std::uint8_t, kBundleLocatorSize> Ort(const Bytes& datei) {
        const auto* m = reinterpret_cast<const std::uint8_t*>(kBundleLocatorMark.data());
        const auto it = std::search(datei.begin(), datei.end(), m, m + kBundleLocatorMark.size());
        EXPECT_NE(it, datei.end());
        return std::span<const std::uint8_t, kBundleLocatorSize>(&*it, kBundleLocatorSize);
    }
};

TEST_F(Buendel, InhaltPruefsummeJederBereichUndEineSignaturDahinter) {
    const fs::path medium = ordner / "medium", programm = ordner / "programm", b = ordner / "b";
    std::uint32_t saat = 1;
    for (const char* name : {"t0e.px_", "t4.px_", "t7.px_", "t8.px_", "t9.px_", "tx.px_", "tl.px_", "to.px_",
                             "te.px_", "lok.bm_"})
        Schreiben(medium / name, Medium(Packen(Inhalt(3000 + 500 * saat, saat)))), ++saat;
    Bytes p = Text("\x7f" "ELF Programmcode ");
    p.insert(p.end(), kBundleLocatorMark.begin(), kBundleLocatorMark.end());
    p.insert(p.end(), 16, 0);
    Schreiben(programm, Verbinden(p, Text(" mehr Programmcode")));

    ASSERT_EQ(Pack("--quiet bundle --setup " + Q(programm) + " " + Q(medium) + " " + Q(b)), 0) << ausgabe;
    ASSERT_EQ(Pack("--quiet bundle --setup " + Q(programm) + " " + Q(medium) + " " + Q(ordner / "b2")), 0);
    const Bytes gut = Lesen(b);
    EXPECT_EQ(Lesen(ordner / "b2"), gut);  // byte for byte the same
    EXPECT_EQ(Pack("--quiet verify " + Q(b)), 0) << ausgabe;

    const auto eintraege = CheckBundleFile(b.string(), Ort(gut))->entries;
    ASSERT_EQ(eintraege.size(), 10u);
    EXPECT_EQ(eintraege.front().name, "t0e.px_");  // in the order the setup reads them
    for (const BundleEntry& e : eintraege) {
        const Bytes teil(gut.begin() + static_cast<long>(e.offset), gut.begin() + static_cast<long>(e.offset + e.length));
        EXPECT_EQ(teil, Lesen(medium / e.name)) << e.name;
    }

    // A byte changed in the locator, the table of contents, a packed file, the hash;
    // and the file cut short.
    const std::size_t ort = static_cast<std::size_t>(Ort(gut).data() - gut.data());
    const std::size_t nutzlast = p.size() + 18;
    for (const std::size_t stelle : {ort + 16, ort + 24, nutzlast + 20, static_cast<std::size_t>(eintraege[3].offset + 9),
                                     gut.size() - 1}) {
        Bytes kaputt = gut;
        kaputt[stelle] ^= 0x04;
        Schreiben(b, kaputt);
        EXPECT_THROW(CheckBundleFile(b.string(), Ort(kaputt)), Laufzeitfehler) << stelle;
        EXPECT_EQ(Pack("--quiet verify " + Q(b)), 1) << stelle;
    }
    Schreiben(b, Bytes(gut.begin(), gut.end() - 1));
    try {
        CheckBundleFile(b.string(), Ort(gut));
        ADD_FAILURE() << "a truncated file passed";
    } catch (const Laufzeitfehler& e) {
        EXPECT_NE(std::string(e.what()).find("kürzer"), std::string::npos) << e.what();
    }

    // What a code signature appends: padding and a certificate table behind the payload.
    Schreiben(b, Verbinden(Verbinden(gut, Bytes(5, 0)), Inhalt(3000, 9)));
    EXPECT_EQ(CheckBundleFile(b.string(), Ort(gut))->entries.size(), 10u);
    EXPECT_EQ(Pack("--quiet verify " + Q(b)), 0) << ausgabe;

    // A program that carries a medium already, or none that can: refused.
    EXPECT_EQ(Pack("--quiet bundle --setup " + Q(ordner / "b2") + " " + Q(medium) + " " + Q(ordner / "b3")), 1);
    Schreiben(programm, Text("kein Setup-Programm"));
    EXPECT_EQ(Pack("--quiet bundle --setup " + Q(programm) + " " + Q(medium) + " " + Q(ordner / "b3")), 1);
    EXPECT_FALSE(fs::exists(ordner / "b3"));
}

TEST_F(Buendel, DasLinuxProgrammInstalliertAllein) {
    const fs::path medium = ordner / "medium", lesbar = ordner / "nur-lesen", b = lesbar / "KALDORIN-Setup";
    ASSERT_EQ(Pack("--quiet --level 3 demo " + Q(medium)), 0) << ausgabe;
    fs::create_directories(lesbar);
    ASSERT_EQ(Pack("--quiet bundle " + Q(medium) + " " + Q(b)), 0) << ausgabe;
    chmod(lesbar.c_str(), 0555);

    // Page 2 shows the program itself as the source, and the source check accepts it.
    Schreibe(ordner / "skript", "answer 1\nanswer 1\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"
                                "click cbo_Weiter\nclick cbo_Akzeptieren\nclick CMD_Weiter\ndump\n");
    const std::string umgebung = "KALDORIN_PREFIX=" + Q(ordner / "prefix") + " ";
    Lauf("cd / && " + umgebung + Q(b) + " --headless --script " + Q(ordner / "skript") + " --transcript " +
         Q(ordner / "t1"));
    std::string windows = "Z:" + b.string();
    std::replace(windows.begin(), windows.end(), '/', '\\');
    std::string json;  // as the transcript quotes it
    for (char c : windows) json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_NE(Lies(ordner / "t1").find("\"TB_Von\",\"kind\":\"textbox\",\"window\":\"FRM_Installation\",\"text\":\"" + json + "\""), std::string::npos) << Lies(ordner / "t1");

    // Unattended, without --source: the same tree as from the medium folder.
    ASSERT_EQ(Lauf("cd / && " + umgebung + Q(b) + " --unattended --accept-licence"), 0) << ausgabe;
    ASSERT_EQ(Lauf("KALDORIN_PREFIX=" + Q(ordner / "vergleich") + " " + Q(medium / "kaldorin-setup") +
                   " --unattended --accept-licence"), 0) << ausgabe;
    const fs::path baum = "drive_c/Programme/KALDORIN";
    std::size_t dateien = 0;
    for (const auto& e : fs::recursive_directory_iterator(ordner / "vergleich" / baum)) {
        if (!e.is_regular_file()) continue;
        ++dateien;
        EXPECT_EQ(Lesen(ordner / "prefix" / baum / fs::relative(e.path(), ordner / "vergleich" / baum)), Lesen(e.path()));
    }
    EXPECT_EQ(dateien, 28u);
    // --source still names the folder to install from: an empty one has no main file.
    fs::create_directories(ordner / "leer");
    EXPECT_EQ(Lauf(umgebung + Q(b) + " --unattended --accept-licence --source " + Q(ordner / "leer")), 1);

    // Damaged: refused in German before anything is written anywhere.
    chmod(lesbar.c_str(), 0755);
    Bytes kaputt = Lesen(b);
    kaputt[kaputt.size() - 100000] ^= 0x20;
    Schreiben(b, kaputt);
    const std::string neu = "KALDORIN_PREFIX=" + Q(ordner / "neu") + " ";
    EXPECT_EQ(Lauf(neu + Q(b) + " --unattended --accept-licence --transcript " + Q(ordner / "t2")), 1);
    EXPECT_NE(ausgabe.find("Das Setup-Programm ist beschädigt"), std::string::npos) << ausgabe;
    EXPECT_NE(Lies(ordner / "t2").find("\"op\":\"error\",\"line\":0,\"script\":\"\",\"reason\":\"Das Setup-Programm ist beschädigt"),
              std::string::npos);
    EXPECT_EQ(Lauf(neu + Q(b) + " --headless --script " + Q(ordner / "skript")), 1);
    EXPECT_FALSE(fs::exists(ordner / "neu"));
}

}  // namespace
}  // namespace kaldorin::test
