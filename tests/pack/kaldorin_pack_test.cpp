// kaldorin-pack from the outside: its files install through Datei_Entpacken (the whole
// installation's tests show a missing or written file on that road), unpack and
// verify catch damage, medium refuses an incomplete application, demo repeats itself.
#include <gtest/gtest.h>

#include "install/datei_entpacken.h"
#include "install/installation.h"
#include "doubles/fakes.h"
#include "tests/pack/hilfen.h"

namespace kaldorin::test {
namespace {

using KaldorinPackTest = MitBefehlen;

TEST_F(KaldorinPackTest, GepackteDateiInstalliertByteFuerByteBeschaedigteLaesstDasZielStehen) {
    const Bytes inhalt = Inhalt(700000, 3);
    Schreiben(ordner / "roh.exe", inhalt);
    ASSERT_EQ(Pack("--level 5 pack " + Q(ordner / "roh.exe") + " " + Q(ordner / "t0e.px_")), 0)
        << ausgabe;

    AufzeichnendeFace face;
    DurchreichHost host;
    Programm p{Laufzeit{face, host}};
    ASSERT_TRUE(Datei_Entpacken(p, (ordner / "t0e.px_").string(), (ordner / "ziel.exe").string()));
    EXPECT_EQ(Lesen(ordner / "ziel.exe"), inhalt);
    EXPECT_EQ(face.schritte, 1);  // one event step a file, and every number closed again
    EXPECT_EQ(host.offen, 0);

    // unpack of a damaged file leaves the old target and no temporary file.
    Bytes kaputt = Lesen(ordner / "t0e.px_");
    kaputt[kaputt.size() / 2] ^= 0x10;
    Schreiben(ordner / "t0e.px_", kaputt);
    EXPECT_EQ(Pack("unpack " + Q(ordner / "t0e.px_") + " " + Q(ordner / "ziel.exe")), 1);
    EXPECT_EQ(Lesen(ordner / "ziel.exe"), inhalt);
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"roh.exe", "t0e.px_", "ziel.exe"}));
}

TEST_F(KaldorinPackTest, DemoVerifyUndMediumAusDemAnwendungsordner) {
    const fs::path a = ordner / "a", b = ordner / "b";
    ASSERT_EQ(Pack("--level 3 --quiet demo " + Q(a)), 0) << ausgabe;
    ASSERT_EQ(Pack("--level 3 --quiet --app " + Q(ordner / "app") + " demo " + Q(b)), 0);
    std::size_t dateien = 0;
    for (const auto& e : fs::directory_iterator(a)) {
        if (e.path().filename().string().back() != '_') continue;
        ++dateien;
        EXPECT_EQ(Lesen(e.path()), Lesen(b / e.path().filename())) << e.path();
    }
    EXPECT_EQ(dateien, Hauptliste_Ziele.size() + Zusatzliste.size());
    EXPECT_TRUE(fs::is_regular_file(ordner / "app" / "help" / "Fahrstraßen" "Eingabe.hlp"));

    ASSERT_EQ(Pack("verify " + Q(a)), 0) << ausgabe;
    Bytes t7 = Lesen(a / "t7.px_");
    t7[t7.size() / 3] ^= 0x01;
    Schreiben(a / "t7.px_", t7);
    EXPECT_EQ(Pack("verify " + Q(a)), 1);
    EXPECT_NE(ausgabe.find("t7.px_"), std::string::npos) << ausgabe;
    EXPECT_EQ(ausgabe.find("FEHLER   t4.px_"), std::string::npos);

    fs::remove(a / "te.px_");  // a main file
    EXPECT_EQ(Pack("verify " + Q(a)), 1);
    EXPECT_NE(ausgabe.find("te.px_"), std::string::npos);

    // A medium from the application folder, without regard to capitals.
    const fs::path app = ordner / "app", medium = ordner / "medium";
    // The installed tree names its folders in capitals, the list in small letters.
    fs::rename(app / "help", app / "Help");
    fs::rename(app / "t4.ovl", app / "T4.OVL");
    fs::remove(app / "DOS_Konverter.Exe");  // optional: skipped with a note
    const fs::path setup = ordner / "setup-programm";
    Schreiben(setup, Text("das Setup-Programm"));
    ASSERT_EQ(Pack("--level 3 --setup " + Q(setup) + " medium " + Q(app) + " " +
                   Q(medium)), 0) << ausgabe;
    EXPECT_NE(ausgabe.find("DOS_Konv.ex_"), std::string::npos);
    EXPECT_FALSE(fs::exists(medium / "DOS_Konv.ex_"));
    ASSERT_EQ(Pack("unpack " + Q(medium / "t4.px_") + " " + Q(ordner / "t4")), 0);
    EXPECT_EQ(Lesen(ordner / "t4"), Lesen(app / "T4.OVL"));
    ASSERT_EQ(Pack("unpack " + Q(medium / "Setup.ex_") + " " + Q(ordner / "s")), 0);
    EXPECT_EQ(Lesen(ordner / "s"), Text("das Setup-Programm"));
    EXPECT_EQ(Lesen(medium / "setup-programm"), Text("das Setup-Programm"));
    EXPECT_EQ(Pack("verify " + Q(medium)), 0) << ausgabe;

    // Without a main file nothing is written.
    fs::remove(app / "KALDORIN.OCX");
    EXPECT_EQ(Pack("medium " + Q(app) + " " + Q(ordner / "leer")), 1);
    EXPECT_NE(ausgabe.find("KALDORIN.OCX"), std::string::npos);
    EXPECT_FALSE(fs::exists(ordner / "leer"));
}

TEST_F(KaldorinPackTest, FalscherAufruf) {
    EXPECT_EQ(Pack("--help"), 0);
    EXPECT_NE(ausgabe.find("verify MEDIUM"), std::string::npos);
    for (const char* falsch : {"", "zaubern", "pack nur-eins", "--level 0 pack a b", "--scale -1 demo x"})
        EXPECT_EQ(Pack(falsch), 2) << falsch;
    EXPECT_EQ(Pack("pack " + Q(ordner / "fehlt") + " " + Q(ordner / "x")), 1);
    EXPECT_FALSE(fs::exists(ordner / "x"));
}

}  // namespace
}  // namespace kaldorin::test
