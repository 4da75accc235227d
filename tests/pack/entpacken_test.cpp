// The portable unpack core: what it accepts and every fault it must reject.
#include "runtime/entpacken.h"

#include <gtest/gtest.h>
#include <zstd.h>

#include <array>

#include "runtime/runtime.h"
#include "tests/pack/hilfen.h"

namespace kaldorin::test {
namespace {

Bytes Auspacken(const Bytes& strom, std::size_t stueck = 0) {
    Bytes aus;
    Entpacker e([&](std::span<const std::uint8_t> t) { aus.insert(aus.end(), t.begin(), t.end()); });
    if (stueck == 0) stueck = strom.size();
    for (std::size_t i = 0; i < strom.size(); i += stueck) {
        e.Weiter(std::span<const std::uint8_t>(strom).subspan(i, std::min(stueck, strom.size() - i)));
    }
    e.Abschliessen();
    EXPECT_EQ(e.Ausgegeben(), aus.size());
    return aus;
}

std::string Fehlertext(const Bytes& strom) {
    try {
        Auspacken(strom);
    } catch (const Laufzeitfehler& f) {
        return f.what();
    }
    return "";
}

TEST(Entpacken, GibtInhaltZurueckAuchInEinzelnenBytesAusMehrerenRahmenUndOhneGroesse) {
    const Bytes inhalt = Inhalt(300000);
    EXPECT_EQ(Auspacken(Packen(inhalt)), inhalt);
    EXPECT_EQ(Auspacken(Packen(inhalt), 1), inhalt);   // headers split across every boundary
    const Bytes a = Inhalt(5000, 1), b = Inhalt(7000, 2);
    EXPECT_EQ(Auspacken(Verbinden(Packen(a), Packen(b)), 3), Verbinden(a, b));
    EXPECT_TRUE(Auspacken(Packen({})).empty());
    const Bytes ohneGroesse = Packen(inhalt, true, 3, false);  // as packed from a pipe
    ASSERT_EQ(ZSTD_getFrameContentSize(ohneGroesse.data(), ohneGroesse.size()), ZSTD_CONTENTSIZE_UNKNOWN);
    EXPECT_EQ(Auspacken(ohneGroesse, 7), inhalt);
}

TEST(Entpacken, LehntJedenSchadenMitSeinemGrundAb) {
    const Bytes strom = Packen(Inhalt(200000)), klein = Packen(Inhalt(100));
    Bytes gekippt = strom;
    gekippt.back() ^= 0x01;  // the checksum is the frame's last four bytes
    struct Fall {
        Bytes strom;
        const char* fehler;
    };
    for (const Fall& f : {
             Fall{{0x28, 0xB5, 0x2F, 0xFD}, "zu kurz"},
             // Five bytes of a real frame: long enough to look at, but cut off.
             Fall{Bytes(klein.begin(), klein.begin() + 5), "unvollständig"},
             Fall{Bytes(strom.begin(), strom.end() - 1), "unvollständig"},
             // The second frame cut inside its header.
             Fall{Verbinden(strom, Bytes(klein.begin(), klein.begin() + 3)), "unvollständig"},
             Fall{Text("Dies ist kein gepackter Text."), "kein gepackter"},
             // A skippable frame holds no content and no checksum.
             Fall{{0x50, 0x2A, 0x4D, 0x18, 2, 0, 0, 0, 'x', 'y'}, "kein gepackter"},
             Fall{gekippt, "Prüfsumme"},
             Fall{Packen(Inhalt(5000), false), "keine Prüfsumme"},
             Fall{Verbinden(strom, Bytes{0}), "überzählige"},
         }) {
        EXPECT_NE(Fehlertext(f.strom).find(f.fehler), std::string::npos) << f.fehler;
    }
    const Bytes vier(klein.begin(), klein.begin() + 4);
    EXPECT_THROW(Entpacken(std::vector<std::span<const std::uint8_t>>{vier}, [](auto) {}),
                 Laufzeitfehler);
}

// After a fault the unpacker stays broken; content held back for the end still reaches
// the sink, and the sink's fault the caller.
TEST(Entpacken, BleibtNachEinemFehlerKaputtUndLaesstFehlerDerSenkeDurch) {
    const Bytes strom = Packen(Inhalt(5000));
    Entpacker e([](auto) {});
    EXPECT_THROW(e.Weiter(Text("kaputt")), Laufzeitfehler);
    EXPECT_THROW(e.Weiter(strom), Laufzeitfehler);
    EXPECT_THROW(e.Abschliessen(), Laufzeitfehler);
    Entpacker voll([](auto) { throw Laufzeitfehler("voll"); });
    EXPECT_THROW(
        {
            voll.Weiter(strom);
            voll.Abschliessen();
        },
        Laufzeitfehler);
}

// Decoding on its own thread while the caller writes: the content arrives whole and in
// order over many turns of the ring, and a fault of the reading side reaches the caller.
// (A damaged stream on this road: the file tests of Datei_Entpacken; a fault of the
// writing side, which must stop both sides and arrive unchanged: the numbered files'
// tests of a full disk and of a failed flush.)
TEST(Entpacken, NebenherGibtAllesInOrdnungUndDenLesefehlerWeiter) {
    const Bytes inhalt = Inhalt(9u << 20);
    const Bytes strom = Packen(inhalt, true, 1);
    const std::array<ByteRange, 2> bereiche{ByteRange{0, 5}, ByteRange{5, strom.size() - 5}};
    const Leser lesen = [&strom](std::uint64_t offset, std::span<std::uint8_t> ziel) {
        std::copy_n(strom.begin() + static_cast<std::ptrdiff_t>(offset), ziel.size(), ziel.begin());
    };
    Bytes aus;
    EntpackenNebenher(bereiche, lesen, [&aus](std::span<const std::uint8_t> t) {
        aus.insert(aus.end(), t.begin(), t.end());
    });
    EXPECT_TRUE(aus == inhalt);

    const Leser lesefehler = [](std::uint64_t offset, std::span<std::uint8_t>) {
        if (offset > (1u << 20)) throw Laufzeitfehler("Lesefehler");
    };
    EXPECT_THROW(EntpackenNebenher(bereiche, lesefehler, [](auto) {}), Laufzeitfehler);
}

}  // namespace
}  // namespace kaldorin::test
