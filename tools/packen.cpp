#include "tools/packen.h"

#include <zstd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kaldorin::pack {

namespace {

constexpr std::size_t kPuffer = std::size_t{1} << 20;
constexpr std::uint8_t kFueller = 0x00;
constexpr std::uint64_t kKopfTeil = 5;  // stream bytes before the first filler

struct DateiZu {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Datei = std::unique_ptr<std::FILE, DateiZu>;

Datei Oeffnen(const fs::path& pfad, const char* modus) {
    Datei d(std::fopen(pfad.string().c_str(), modus));
    if (!d) {
        throw PackFehler("\"" + pfad.string() + "\" kann nicht geöffnet werden.");
    }
    return d;
}

// An output file that appears under its name only when it is complete.
class Ausgabe {
public:
    explicit Ausgabe(const fs::path& ziel)
        : ziel_(ziel), temp_(fs::path(ziel).concat(".kaldorin-pack-tmp")),
          datei_(Oeffnen(temp_, "wb")) {}
    ~Ausgabe() {
        if (datei_) {
            datei_.reset();
            std::error_code ec;
            fs::remove(temp_, ec);
        }
    }
    void Schreiben(std::span<const std::uint8_t> bytes) {
        if (bytes.empty()) return;
        if (std::fwrite(bytes.data(), 1, bytes.size(), datei_.get()) != bytes.size()) {
            throw PackFehler("\"" + ziel_.string() + "\" kann nicht geschrieben werden.");
        }
        geschrieben_ += bytes.size();
    }
    std::uint64_t Fertig() {
        const bool gut = std::fflush(datei_.get()) == 0 && std::ferror(datei_.get()) == 0;
        std::FILE* f = datei_.release();
        if (std::fclose(f) != 0 || !gut) {
            std::error_code ec;
            fs::remove(temp_, ec);
            throw PackFehler("\"" + ziel_.string() + "\" kann nicht geschrieben werden.");
        }
        std::error_code ec;
        fs::rename(temp_, ziel_, ec);
        if (ec) {
            fs::remove(temp_, ec);
            throw PackFehler("\"" + ziel_.string() + "\" kann nicht angelegt werden.");
        }
        return geschrieben_;
    }

private:
    fs::path ziel_;
    fs::path temp_;
    Datei datei_;
    std::uint64_t geschrieben_ = 0;
};

// Lays the packed stream out as a medium file: a filler after the fifth stream byte.
class MediumSchreiber {
public:
    explicit MediumSchreiber(Ausgabe& aus) : aus_(aus) {}
    void Strom(std::span<const std::uint8_t> teil) {
        if (strom_ < kKopfTeil && !teil.empty()) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kKopfTeil - strom_, teil.size()));
            aus_.Schreiben(teil.first(n));
            strom_ += n;
            teil = teil.subspan(n);
            if (strom_ == kKopfTeil) aus_.Schreiben(std::span(&kFueller, 1));
        }
        aus_.Schreiben(teil);
        strom_ += teil.size();
    }
    void Ende() { aus_.Schreiben(std::span(&kFueller, 1)); }

private:
    Ausgabe& aus_;
    std::uint64_t strom_ = 0;
};

struct KontextFrei {
    void operator()(ZSTD_CCtx* c) const { ZSTD_freeCCtx(c); }
};

void Pruefen(std::size_t ergebnis) {
    if (ZSTD_isError(ergebnis)) {
        throw PackFehler(std::string("Packen fehlgeschlagen: ") + ZSTD_getErrorName(ergebnis));
    }
}

std::unique_ptr<ZSTD_CCtx, KontextFrei> Kontext(const PackOptionen& o, std::uint64_t groesse) {
    std::unique_ptr<ZSTD_CCtx, KontextFrei> c(ZSTD_createCCtx());
    if (!c) throw PackFehler("Zum Packen ist nicht genug Arbeitsspeicher frei.");
    Pruefen(ZSTD_CCtx_setParameter(c.get(), ZSTD_c_compressionLevel, o.stufe));
    Pruefen(ZSTD_CCtx_setParameter(c.get(), ZSTD_c_checksumFlag, 1));
    Pruefen(ZSTD_CCtx_setParameter(c.get(), ZSTD_c_contentSizeFlag, 1));
    if (o.fensterLog != 0) Pruefen(ZSTD_CCtx_setParameter(c.get(), ZSTD_c_windowLog, o.fensterLog));
    Pruefen(ZSTD_CCtx_setPledgedSrcSize(c.get(), groesse));
    return c;
}

}  // namespace

std::uint64_t PackeStrom(const Leser& lesen, std::uint64_t groesse, const fs::path& ziel,
                         const PackOptionen& optionen, Fortschritt& fortschritt) {
    auto c = Kontext(optionen, groesse);
    Ausgabe aus(ziel);
    MediumSchreiber medium(aus);
    std::vector<std::uint8_t> ein(kPuffer), gepackt(ZSTD_CStreamOutSize());
    std::uint64_t gelesen = 0;
    for (;;) {
        const std::size_t n = lesen(ein);
        gelesen += n;
        if (gelesen > groesse) throw PackFehler("Die Quelle ist während des Packens gewachsen.");
        const ZSTD_EndDirective modus = n == 0 ? ZSTD_e_end : ZSTD_e_continue;
        ZSTD_inBuffer in{ein.data(), n, 0};
        for (;;) {
            ZSTD_outBuffer out{gepackt.data(), gepackt.size(), 0};
            const std::size_t rest = ZSTD_compressStream2(c.get(), &out, &in, modus);
            Pruefen(rest);
            medium.Strom(std::span(gepackt.data(), out.pos));
            if (modus == ZSTD_e_end ? rest == 0 : in.pos == in.size) break;
        }
        fortschritt.Weiter(n);
        if (n == 0) break;
    }
    if (gelesen != groesse) throw PackFehler("Die Quelle ist während des Packens geschrumpft.");
    medium.Ende();
    return aus.Fertig();
}

std::uint64_t PackeDatei(const fs::path& quelle, const fs::path& ziel,
                         const PackOptionen& optionen, Fortschritt& fortschritt) {
    std::error_code ec;
    const std::uint64_t groesse = fs::file_size(quelle, ec);
    if (ec) throw PackFehler("\"" + quelle.string() + "\" kann nicht gelesen werden.");
    Datei ein = Oeffnen(quelle, "rb");
    fortschritt.Beginnen(quelle.filename().string(), groesse);
    const Leser lesen = [&](std::span<std::uint8_t> puffer) {
        const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), ein.get());
        if (n < puffer.size() && std::ferror(ein.get())) {
            throw PackFehler("\"" + quelle.string() + "\" kann nicht gelesen werden.");
        }
        return n;
    };
    const std::uint64_t n = PackeStrom(lesen, groesse, ziel, optionen, fortschritt);
    fortschritt.Beenden();
    return n;
}

std::uint64_t PackeInhalt(std::span<const std::uint8_t> inhalt, const fs::path& ziel,
                          const PackOptionen& optionen, Fortschritt& fortschritt) {
    fortschritt.Beginnen(ziel.filename().string(), inhalt.size());
    std::size_t pos = 0;
    const Leser lesen = [&](std::span<std::uint8_t> puffer) {
        const std::size_t n = std::min(puffer.size(), inhalt.size() - pos);
        std::copy_n(inhalt.begin() + static_cast<std::ptrdiff_t>(pos), n, puffer.begin());
        pos += n;
        return n;
    };
    const std::uint64_t n = PackeStrom(lesen, inhalt.size(), ziel, optionen, fortschritt);
    fortschritt.Beenden();
    return n;
}

std::uint64_t EntpackeMedium(const fs::path& quelle, const Senke& senke,
                             Fortschritt& fortschritt) {
    std::error_code ec;
    const std::uint64_t laenge = fs::file_size(quelle, ec);
    if (ec) throw PackFehler("\"" + quelle.string() + "\" kann nicht gelesen werden.");
    return EntpackeMediumTeil(quelle, ByteRange{0, laenge}, quelle.filename().string(), senke, fortschritt);
}

std::uint64_t EntpackeMediumTeil(const fs::path& quelle, ByteRange teil, const std::string& name,
                                 const Senke& senke, Fortschritt& fortschritt) {
    const std::uint64_t laenge = teil.length;
    // The stream: everything but the sixth and the last byte.
    LaengePruefen(laenge < 2 ? 0 : laenge - 2);
    Datei ein = Oeffnen(quelle, "rb");
    if (fseeko(ein.get(), static_cast<off_t>(teil.offset), SEEK_SET) != 0)
        throw PackFehler("\"" + quelle.string() + "\" kann nicht gelesen werden.");
    fortschritt.Beginnen(name, laenge);
    Entpacker entpacker(senke);
    std::vector<std::uint8_t> puffer(kPuffer);
    std::uint64_t position = 0;
    while (position < laenge) {
        const std::size_t n = std::fread(puffer.data(), 1,
                                         static_cast<std::size_t>(std::min<std::uint64_t>(puffer.size(), laenge - position)),
                                         ein.get());
        if (std::ferror(ein.get())) {
            throw PackFehler("\"" + quelle.string() + "\" kann nicht gelesen werden.");
        }
        if (n == 0) break;
        for (std::size_t i = 0; i < n;) {
            // Pieces between the two filler positions go to the unpacker whole.
            const std::uint64_t p = position + i;
            if (p == kKopfTeil || p == laenge - 1) {
                ++i;
                continue;
            }
            const std::uint64_t grenze = p < kKopfTeil ? kKopfTeil : laenge - 1;
            const std::size_t stueck =
                static_cast<std::size_t>(std::min<std::uint64_t>(grenze - p, n - i));
            entpacker.Weiter(std::span(puffer.data() + i, stueck));
            i += stueck;
        }
        position += n;
        fortschritt.Weiter(n);
    }
    if (position != laenge) throw PackFehler("\"" + quelle.string() + "\" hat sich beim Lesen verändert.");
    entpacker.Abschliessen();
    fortschritt.Beenden();
    return entpacker.Ausgegeben();
}

void EntpackeDatei(const fs::path& quelle, const fs::path& ziel, Fortschritt& fortschritt) {
    Ausgabe aus(ziel);
    EntpackeMedium(quelle, [&](std::span<const std::uint8_t> t) { aus.Schreiben(t); }, fortschritt);
    aus.Fertig();
}

void KopiereDatei(const fs::path& quelle, const fs::path& ziel) {
    const fs::path temp = fs::path(ziel).concat(".kaldorin-pack-tmp");
    std::error_code ec;
    fs::copy_file(quelle, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(temp, ziel, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw PackFehler("\"" + quelle.string() + "\" kann nicht nach \"" + ziel.string() +
                         "\" kopiert werden.");
    }
}

}  // namespace kaldorin::pack
