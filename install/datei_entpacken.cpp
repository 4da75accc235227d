#include "install/datei_entpacken.h"

#include <array>
#include <cstdint>
#include <exception>

namespace kaldorin {

namespace {

constexpr const char* kNichtSchreibbar =
    "KALDORIN kann nicht instaliert werden, da bestimmte\r"
    "Dateien nicht geschrieben werden können.\r\r"
    "Falls ein Update durchgeführt wird, darf KALDORIN\r"
    "zu diesem Zeitpunkt nicht gestartet sein!";

// A packed file holds the stream with one filler byte after its fifth byte and one
// at its end; anything shorter holds no stream at all.
constexpr std::uint64_t kMindestLaenge = 7;

void Melden(Programm& p, const std::string& quelle, const std::string& ursache) {
    p.ui().Message("Die Datei\r" + quelle + "\rkonnte nicht entpackt werden.\r\r" + ursache,
                   "", 16);
    p.Ende = kJa;
}

void QuelleSchliessen(Programm& p, int quelle) {
    try {
        p.host().Close(quelle);
    } catch (const Laufzeitfehler&) {
        // Nothing was written through it; a failing close loses nothing.
    }
}

void ZielVerwerfen(Programm& p, int ziel) {
    try {
        p.host().Discard(ziel);
    } catch (const Laufzeitfehler&) {
        // The host keeps the old target whatever becomes of the temporary file.
    }
}

// The stream is the file without its sixth and its last byte.
void InsZielEntpacken(Programm& p, int quelle, std::uint64_t laenge, int ziel) {
    if (laenge < kMindestLaenge) {
        throw Laufzeitfehler("Die gepackte Datei ist zu kurz (weniger als 7 Bytes).");
    }
    const std::array<ByteRange, 2> strom{ByteRange{0, 5}, ByteRange{6, laenge - 7}};
    p.host().Unpack(quelle, strom, ziel);
}

}  // namespace

bool Datei_Entpacken(Programm& p, const std::string& quelle, const std::string& ziel) {
    if (!p.host().FileExists(quelle)) return false;

    int q = 0;
    std::uint64_t laenge = 0;
    try {
        q = p.host().OpenRead(quelle);
        laenge = p.host().Length(q);
    } catch (const Laufzeitfehler& e) {
        if (q != 0) QuelleSchliessen(p, q);
        Melden(p, quelle, e.what());
        return false;
    }

    int z = 0;
    try {
        z = p.host().OpenWrite(ziel);
    } catch (const Laufzeitfehler&) {
        p.ui().Message(kNichtSchreibbar, "", 0);
        p.Ende = kJa;
        QuelleSchliessen(p, q);
        return false;
    }

    try {
        p.ui().EventStep();
        InsZielEntpacken(p, q, laenge, z);
    } catch (const std::exception& e) {
        ZielVerwerfen(p, z);
        QuelleSchliessen(p, q);
        Melden(p, quelle, e.what());
        return false;
    } catch (...) {
        // The end of the program, raised by a handler in the event step: leave
        // nothing open behind it.
        ZielVerwerfen(p, z);
        QuelleSchliessen(p, q);
        throw;
    }
    QuelleSchliessen(p, q);

    try {
        p.host().Close(z);  // releases the target even when it fails
    } catch (const Laufzeitfehler& e) {
        Melden(p, quelle, e.what());
        return false;
    }
    return true;
}

}  // namespace kaldorin
