// Datei_Entpacken over the real POSIX numbered files: the order of its steps, its
// messages, and that a failure never costs the old target.
#include "install/datei_entpacken.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <thread>

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
    fs::path quelle, ziel;

    void SetUp() override {
        MitOrdner::SetUp();
        quelle = ordner / "t4.px_";
        ziel = ordner / "t4.ovl";
    }
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

TEST_F(DateiEntpackenTest, EntpacktByteFuerByte) {
    const Bytes inhalt = Inhalt(250000);
    Schreiben(quelle, Medium(Packen(inhalt)));
    EXPECT_TRUE(Entpacken());
    EXPECT_EQ(Lesen(ziel), inhalt);
    EXPECT_EQ(face.schritte, 1);
    EXPECT_TRUE(face.meldungen.empty());
    EXPECT_EQ(p.Ende, 0);
    EXPECT_EQ(host.offen, 0);
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"t4.px_", "t4.ovl"}));
}

TEST_F(DateiEntpackenTest, NimmtWasDieKommandozeilePackt) {
    const fs::path roh = ordner / "roh.bin", strom = ordner / "roh.zst";
    const Bytes inhalt = Inhalt(400000, 7);
    Schreiben(roh, inhalt);
    const std::string befehl =
        "zstd -19 --check -q -f '" + roh.string() + "' -o '" + strom.string() + "'";
    ASSERT_EQ(std::system(befehl.c_str()), 0);
    Schreiben(quelle, Medium(Lesen(strom)));
    EXPECT_TRUE(Entpacken());
    EXPECT_EQ(Lesen(ziel), inhalt);
}

TEST_F(DateiEntpackenTest, KuerzererInhaltErsetztDasZielGanz) {
    Schreiben(ziel, Inhalt(100000));
    Schreiben(quelle, Medium(Packen(Text("kurz"))));
    EXPECT_TRUE(Entpacken());
    EXPECT_EQ(Lesen(ziel), Text("kurz"));  // exactly the new length, nothing appended
}

TEST_F(DateiEntpackenTest, FehlendeQuelleOhneMeldung) {
    Schreiben(ziel, Text("alt"));
    EXPECT_FALSE(Entpacken());
    EXPECT_TRUE(face.meldungen.empty());
    EXPECT_EQ(face.schritte, 0);
    EXPECT_EQ(p.Ende, 0);
    EXPECT_EQ(Lesen(ziel), Text("alt"));
}

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

    ziel = ordner / "fehlt" / "t4.ovl";
    EXPECT_FALSE(Entpacken());
    ziel = ordner;
    EXPECT_FALSE(Entpacken());
    EXPECT_EQ(face.meldungen.size(), 3u);
    EXPECT_EQ(face.meldungen[2].text, kNichtSchreibbar);
}

TEST_F(DateiEntpackenTest, SiebenByteQuelleGibtFuenfByteStrom) {
    Schreiben(quelle, Bytes{0x28, 0xB5, 0x2F, 0xFD, 0x24, 0xEE, 0x00});
    ErwarteFehlschlag("unvollständig");
    ASSERT_EQ(host.letzteBereiche.size(), 2u);
    EXPECT_EQ(host.letzteBereiche[0].offset, 0u);
    EXPECT_EQ(host.letzteBereiche[0].length, 5u);
    EXPECT_EQ(host.letzteBereiche[1].offset, 6u);
    EXPECT_EQ(host.letzteBereiche[1].length, 0u);
}

TEST_F(DateiEntpackenTest, ZuKurzeQuelle) {
    Schreiben(quelle, Bytes{0x28, 0xB5, 0x2F});
    ErwarteFehlschlag("zu kurz");
    EXPECT_TRUE(host.letzteBereiche.empty());
    EXPECT_EQ(face.schritte, 1);
}

TEST_F(DateiEntpackenTest, BeschaedigteQuelleLaesstDasAlteZiel) {
    const Bytes gross = Medium(Packen(Inhalt(200000)));
    Bytes abgeschnitten(gross.begin(), gross.end() - 100);
    Bytes gekippt = gross;
    gekippt[gekippt.size() - 2] ^= 0x40;  // inside the checksum, before the filler
    Bytes angehaengt = Packen(Inhalt(20000));
    const Bytes muell = Text("angehängt");
    angehaengt.insert(angehaengt.end(), muell.begin(), muell.end());
    struct Fall {
        Bytes medium;
        const char* ursache;
    };
    for (const Fall& f : {
             Fall{Text("MZ\x90\x01 Dies ist eine Programmdatei, ungepackt."), "kein gepackter"},
             Fall{abgeschnitten, "unvollständig"},
             Fall{gekippt, "Prüfsumme"},
             Fall{Medium(angehaengt), "überzählige"},
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

TEST_F(DateiEntpackenTest, UnlesbareQuelleWirdGemeldet) {
    quelle = ordner / "Ordner.px_";
    fs::create_directory(quelle);
    Schreiben(ziel, Text("alt"));
    // A folder is no file: absent for the existence test, so no message.
    EXPECT_FALSE(Entpacken());
    EXPECT_TRUE(face.meldungen.empty());
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

// SIGKILL in the middle of writing a large file: the old target survives whole.
TEST_F(DateiEntpackenTest, AbbruchMittenImSchreibenLaesstAltesZiel) {
    // 256 MiB of a short repeated pattern: a tiny stream that takes a while to write.
    Bytes stueck = Inhalt(1 << 16);
    ZSTD_CCtx* c = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 1);
    ZSTD_CCtx_setPledgedSrcSize(c, std::uint64_t{256} << 20);
    Bytes strom;
    Bytes puffer(ZSTD_CStreamOutSize());
    for (int i = 0; i < 4096; ++i) {
        ZSTD_inBuffer ein{stueck.data(), stueck.size(), 0};
        const auto modus = i == 4095 ? ZSTD_e_end : ZSTD_e_continue;
        for (;;) {
            ZSTD_outBuffer aus{puffer.data(), puffer.size(), 0};
            const std::size_t rest = ZSTD_compressStream2(c, &aus, &ein, modus);
            ASSERT_FALSE(ZSTD_isError(rest));
            strom.insert(strom.end(), puffer.begin(), puffer.begin() + static_cast<long>(aus.pos));
            if (modus == ZSTD_e_end ? rest == 0 : ein.pos == ein.size) break;
        }
    }
    ZSTD_freeCCtx(c);
    Schreiben(quelle, Medium(strom));
    const Bytes alt = Inhalt(12345, 9);
    Schreiben(ziel, alt);

    const pid_t kind = fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        Entpacken();
        _exit(0);
    }
    // Wait until the temporary file has grown, then kill.
    bool getroffen = false;
    for (int i = 0; i < 20000 && !getroffen; ++i) {
        for (const auto& e : fs::directory_iterator(ordner)) {
            std::error_code ec;
            if (e.path().filename().string().rfind(".t4.ovl", 0) == 0 &&
                fs::file_size(e.path(), ec) > (4u << 20)) {
                getroffen = true;
            }
        }
        if (!getroffen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(kind, SIGKILL);
    int status = 0;
    waitpid(kind, &status, 0);
    ASSERT_TRUE(getroffen) << "the child finished before it could be killed";
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Lesen(ziel), alt);
}

}  // namespace
}  // namespace kaldorin::test
