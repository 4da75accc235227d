// Datei_Entpacken over the real POSIX numbered files: the order of its steps, its
// messages, and that a failure never costs the old target.
#include "install/datei_entpacken.h"

#include <gtest/gtest.h>

#include "doubles/fakes.h"
#include "tests/pack/hilfen.h"

namespace kaldorin::test {
namespace {

const std::string kNichtSchreibbar =
    "KALDORIN kann nicht instaliert werden, da bestimmte\rDateien nicht geschrieben werden "
    "können.\r\rFalls ein Update durchgeführt wird, darf KALDORIN\rzu diesem Zeitpunkt "
    "nicht gestartet sein!";

class DateiEntpackenTest : public MitOrdner {
protected:
    AufzeichnendeFace face;
    DurchreichHost host;
    Programm p{Laufzeit{face, host}};
    fs::path quelle = ordner / "t4.px_", ziel = ordner / "t4.ovl";

    bool Entpacken() { return Datei_Entpacken(p, quelle.string(), ziel.string()); }

    // A failure of our own: false, one stop message naming the source, Ende 255,
    // the old target as it was and nothing else left in the folder.
    void ErwarteFehlschlag(const std::string& ursache) {
        Schreiben(ziel, Text("alter Inhalt"));
        const auto vorher = Namen(ordner);
        EXPECT_FALSE(Entpacken());
        ASSERT_EQ(face.meldungen.size(), 1u);
        EXPECT_EQ(face.meldungen[0].stil, 16);
        EXPECT_EQ(face.meldungen[0].titel, "");
        EXPECT_NE(face.meldungen[0].text.find(quelle.string()), std::string::npos);
        EXPECT_NE(face.meldungen[0].text.find(ursache), std::string::npos)
            << face.meldungen[0].text;
        EXPECT_EQ(p.Ende, 255);
        EXPECT_EQ(Lesen(ziel), Text("alter Inhalt"));
        EXPECT_EQ(Namen(ordner), vorher);
        EXPECT_EQ(host.offen, 0);
    }
};

TEST_F(DateiEntpackenTest, NichtSchreibbaresZielMitDerMeldungDerInstallation) {
    Schreiben(quelle, Medium(Packen(Text("neu"))));
    Schreiben(ziel, Text("alt"));
    fs::permissions(ziel, fs::perms::owner_read);
    EXPECT_FALSE(Entpacken());
    ASSERT_EQ(face.meldungen.size(), 1u);
    EXPECT_EQ(face.meldungen[0].text, kNichtSchreibbar);
    EXPECT_EQ(face.meldungen[0].titel, "");
    EXPECT_EQ(face.meldungen[0].stil, 0);
    EXPECT_EQ(p.Ende, 255);
    EXPECT_EQ(face.schritte, 0);
    EXPECT_EQ(host.offen, 0);  // the source was closed
    EXPECT_EQ(Lesen(ziel), Text("alt"));
}

TEST_F(DateiEntpackenTest, BeschaedigteQuelleLaesstDasAlteZiel) {
    // Every fault of the stream itself is the unpacker's (its own tests); here the medium's
    // layout around it, and that a fault of the stream reaches the message.
    Bytes gekippt = Medium(Packen(Inhalt(200000)));
    gekippt[gekippt.size() - 2] ^= 0x40;  // inside the checksum, before the filler
    struct Fall {
        Bytes medium;
        const char* ursache;
    };
    for (const Fall& f : {
             Fall{Bytes{0x28, 0xB5, 0x2F}, "zu kurz"},
             // Seven bytes give a stream of five: read, not refused as too short.
             Fall{Bytes{0x28, 0xB5, 0x2F, 0xFD, 0x24, 0xEE, 0x00}, "unvollständig"},
             Fall{gekippt, "Prüfsumme"},
             // The bare stream without the filler bytes: the layout is wrong.
             Fall{Packen(Inhalt(20000)), "beschädigt"},
         }) {
        SCOPED_TRACE(f.ursache);
        face.meldungen.clear();
        p.Ende = 0;
        Schreiben(quelle, f.medium);
        ErwarteFehlschlag(f.ursache);
    }
}

TEST_F(DateiEntpackenTest, ProgrammendeImEreignisschrittLaesstNichtsOffen) {
    Schreiben(quelle, Medium(Packen(Text("neu"))));
    Schreiben(ziel, Text("alt"));
    face.beimSchritt = [] { EndeProgramm(); };
    EXPECT_THROW(Entpacken(), ProgrammEnde);
    EXPECT_EQ(host.offen, 0);
    EXPECT_EQ(Lesen(ziel), Text("alt"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"t4.px_", "t4.ovl"}));
}

}  // namespace
}  // namespace kaldorin::test
