#include "runtime/entpacken.h"

#define ZSTD_STATIC_LINKING_ONLY  // frame header parsing
#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

namespace {

// A frame may ask for at most this window (128 MiB). The decoder keeps
// min(window, content size) bytes, so the limit only bites for a stream that
// would make us hold far more than its own content.
constexpr int kFensterLogMax = 27;

// One write to the sink per this many content bytes: few calls, small constant memory.
// At least what the decoder needs to make progress on every call.
constexpr std::size_t kAusgabePuffer = std::size_t{1} << 20;
static_assert(kAusgabePuffer >= ZSTD_BLOCKSIZE_MAX);

constexpr std::size_t kKopfPrefix = 5;  // magic number and frame header descriptor

[[noreturn]] void Fehler(const std::string& text) { throw Laufzeitfehler(text); }

// Buffers of kAusgabePuffer bytes kept from one file to the next: fresh ones for
// every file would cost more in page faults and zeroing than the copying they carry.
class Vorrat {
public:
    Puffer Nehmen() {
        {
            std::lock_guard sperre(m_);
            if (!frei_.empty()) {
                Puffer puffer = std::move(frei_.back());
                frei_.pop_back();
                return puffer;
            }
        }
        return Puffer(kAusgabePuffer);
    }
    void Zurueck(Puffer puffer) {
        if (puffer.size() != kAusgabePuffer) return;
        std::lock_guard sperre(m_);
        if (frei_.size() < kVorratMax) frei_.push_back(std::move(puffer));
    }

private:
    static constexpr std::size_t kVorratMax = 8;
    std::mutex m_;
    std::vector<Puffer> frei_;
};

Vorrat& Puffervorrat() {
    static Vorrat vorrat;
    return vorrat;
}

// One decoder kept from one file to the next, for the same reason: a fresh one maps
// its window anew for every file and pays a page fault for every 4 KiB of it. The
// decoder keeps at most the largest window one stream of the medium asked for.
class Dekodervorrat {
public:
    ~Dekodervorrat() { ZSTD_freeDCtx(frei_); }
    ZSTD_DCtx* Nehmen() {
        ZSTD_DCtx* dctx = nullptr;
        {
            std::lock_guard sperre(m_);
            std::swap(dctx, frei_);
        }
        // Its window is the largest block of memory of the expansion.
        if (dctx == nullptr) dctx = ZSTD_createDCtx_advanced(ZSTD_customMem{
            [](void*, std::size_t n) { return GrossNehmen(n); },
            [](void*, void* p) { GrossFreigeben(p); }, nullptr});
        if (dctx == nullptr) return nullptr;
        ZSTD_DCtx_reset(dctx, ZSTD_reset_session_and_parameters);
        ZSTD_DCtx_setParameter(dctx, ZSTD_d_windowLogMax, kFensterLogMax);
        return dctx;
    }
    void Zurueck(ZSTD_DCtx* dctx) {
        std::lock_guard sperre(m_);
        if (frei_ == nullptr) std::swap(dctx, frei_);
        ZSTD_freeDCtx(dctx);  // null when kept
    }

private:
    std::mutex m_;
    ZSTD_DCtx* frei_ = nullptr;
};

Dekodervorrat& Dekoder() {
    static Dekodervorrat vorrat;
    return vorrat;
}

[[noreturn]] void ZuKurz() {
    Fehler("Der gepackte Datenstrom ist zu kurz (weniger als 5 Bytes).");
}
[[noreturn]] void KeinStrom() { Fehler("Die Daten sind kein gepackter Datenstrom."); }
[[noreturn]] void Abgeschnitten() {
    Fehler("Der gepackte Datenstrom ist unvollständig, er bricht vor seinem Ende ab.");
}
[[noreturn]] void Ueberzaehlig() {
    Fehler("Hinter dem Ende des gepackten Datenstroms folgen überzählige Bytes.");
}
[[noreturn]] void GroesseFalsch() {
    Fehler("Die Größe des entpackten Inhalts stimmt nicht mit der im Datenstrom "
           "angegebenen Größe überein.");
}

// The German sentence for a decoder error.
[[noreturn]] void DecoderFehler(std::size_t ergebnis, bool ersterRahmen) {
    switch (ZSTD_getErrorCode(ergebnis)) {
        case ZSTD_error_prefix_unknown:
            if (ersterRahmen) KeinStrom();
            Ueberzaehlig();
        case ZSTD_error_checksum_wrong:
            Fehler("Die Prüfsumme stimmt nicht: der gepackte Datenstrom ist beschädigt.");
        case ZSTD_error_frameParameter_windowTooLarge:
            Fehler("Der gepackte Datenstrom verlangt zu viel Arbeitsspeicher.");
        case ZSTD_error_memory_allocation:
            Fehler("Zum Entpacken ist nicht genug Arbeitsspeicher frei.");
        case ZSTD_error_dictionary_wrong:
            Fehler("Der gepackte Datenstrom braucht ein Wörterbuch und kann nicht "
                   "entpackt werden.");
        case ZSTD_error_frameParameter_unsupported:
        case ZSTD_error_corruption_detected:
            Fehler("Der gepackte Datenstrom ist beschädigt.");
        default:
            Fehler(std::string("Der gepackte Datenstrom ist beschädigt (") +
                   ZSTD_getErrorName(ergebnis) + ").");
    }
    Fehler("Der gepackte Datenstrom ist beschädigt.");
}

}  // namespace

struct Entpacker::Zustand {
    enum class Phase { Kopf, Rumpf, Kaputt };

    Puffersenke senke;
    ZSTD_DCtx* dctx = nullptr;
    // Content collects here until the buffer is full: the sink sees few, large pieces.
    Puffer ausgabe;
    std::size_t gefuellt = 0;
    Phase phase = Phase::Kopf;
    // The header of the frame being started: collected here because it may straddle
    // two pieces of input, and it has to be checked before the decoder sees it.
    std::array<std::uint8_t, ZSTD_FRAMEHEADERSIZE_MAX> kopf{};
    std::size_t kopfLaenge = 0;
    std::uint64_t rahmenGroesse = ZSTD_CONTENTSIZE_UNKNOWN;  // of the current frame
    std::uint64_t rahmenAus = 0;                              // content of this frame so far
    std::uint64_t rahmen = 0;                                 // frames completed
    std::uint64_t eingabe = 0;
    std::uint64_t aus = 0;

    // Collects header bytes from the front of `teil`; returns how many it took.
    std::size_t KopfSammeln(std::span<const std::uint8_t> teil);
    // Feeds body bytes to the decoder; returns how many it took (fewer at frame end).
    std::size_t RumpfEntpacken(std::span<const std::uint8_t> teil);
    void Zaehlen(std::size_t n);
    void Ausgeben();
    void RahmenFertig();
};

std::size_t Entpacker::Zustand::KopfSammeln(std::span<const std::uint8_t> teil) {
    std::size_t genommen = 0;
    for (;;) {
        ZSTD_frameHeader h{};
        const std::size_t noch = ZSTD_getFrameHeader(&h, kopf.data(), kopfLaenge);
        if (ZSTD_isError(noch)) DecoderFehler(noch, rahmen == 0);
        if (noch == 0) {
            // A skippable frame holds no content and no checksum: not ours.
            if (h.frameType != ZSTD_frame) {
                if (rahmen == 0) KeinStrom();
                Ueberzaehlig();
            }
            if (!h.checksumFlag) {
                Fehler("Der gepackte Datenstrom trägt keine Prüfsumme und wird deshalb "
                       "nicht entpackt.");
            }
            rahmenGroesse = h.frameContentSize;
            rahmenAus = 0;
            phase = Phase::Rumpf;
            // The decoder parses the header again; give it the bytes we held back.
            const std::size_t k = kopfLaenge;
            kopfLaenge = 0;
            const std::size_t r = RumpfEntpacken(std::span<const std::uint8_t>(kopf.data(), k));
            if (r != k) Fehler("Der gepackte Datenstrom ist beschädigt.");
            return genommen;
        }
        const std::size_t fehlt = std::max(noch, kKopfPrefix) - kopfLaenge;
        const std::size_t n = std::min(fehlt, teil.size() - genommen);
        if (n == 0) return genommen;
        std::copy_n(teil.data() + genommen, n, kopf.data() + kopfLaenge);
        kopfLaenge += n;
        genommen += n;
    }
}

std::size_t Entpacker::Zustand::RumpfEntpacken(std::span<const std::uint8_t> teil) {
    ZSTD_inBuffer ein{teil.data(), teil.size(), 0};
    for (;;) {
        ZSTD_outBuffer aus_{ausgabe.data(), ausgabe.size(), gefuellt};
        const std::size_t r = ZSTD_decompressStream(dctx, &aus_, &ein);
        if (ZSTD_isError(r)) DecoderFehler(r, rahmen == 0);
        Zaehlen(aus_.pos - gefuellt);
        gefuellt = aus_.pos;
        const bool voll = gefuellt == ausgabe.size();
        if (voll) Ausgeben();
        if (r == 0) {
            RahmenFertig();
            return ein.pos;
        }
        // Input used up and nothing left to flush: wait for the next piece.
        if (ein.pos == ein.size && !voll) return ein.pos;
    }
}

void Entpacker::Zustand::Zaehlen(std::size_t n) {
    rahmenAus += n;
    if (rahmenGroesse != ZSTD_CONTENTSIZE_UNKNOWN && rahmenAus > rahmenGroesse) GroesseFalsch();
}

void Entpacker::Zustand::Ausgeben() {
    if (gefuellt == 0) return;
    const std::size_t n = gefuellt;
    gefuellt = 0;
    aus += n;
    const std::size_t groesse = ausgabe.size();
    senke(ausgabe, n);
    if (ausgabe.size() != groesse) Fehler("Der Ausgabepuffer hat seine Größe geändert.");
}

void Entpacker::Zustand::RahmenFertig() {
    if (rahmenGroesse != ZSTD_CONTENTSIZE_UNKNOWN && rahmenAus != rahmenGroesse) GroesseFalsch();
    ++rahmen;
    phase = Phase::Kopf;
}

Entpacker::Entpacker(Senke senke)
    : Entpacker(Puffersenke([s = std::move(senke)](Puffer& puffer, std::size_t n) {
          s(std::span<const std::uint8_t>(puffer.data(), n));
      })) {}

Entpacker::Entpacker(Puffersenke senke) : z_(std::make_unique<Zustand>()) {
    z_->senke = std::move(senke);
    z_->dctx = Dekoder().Nehmen();
    if (z_->dctx == nullptr) Fehler("Zum Entpacken ist nicht genug Arbeitsspeicher frei.");
    z_->ausgabe = Puffervorrat().Nehmen();
}

Entpacker::~Entpacker() {
    Dekoder().Zurueck(z_->dctx);
    Puffervorrat().Zurueck(std::move(z_->ausgabe));
}

void Entpacker::Weiter(std::span<const std::uint8_t> teil) {
    Zustand& z = *z_;
    if (z.phase == Zustand::Phase::Kaputt) Fehler("Der gepackte Datenstrom ist beschädigt.");
    z.eingabe += teil.size();
    try {
        while (!teil.empty()) {
            const std::size_t n = z.phase == Zustand::Phase::Kopf ? z.KopfSammeln(teil)
                                                                  : z.RumpfEntpacken(teil);
            teil = teil.subspan(n);
        }
    } catch (...) {
        z.phase = Zustand::Phase::Kaputt;
        throw;
    }
}

void Entpacker::Abschliessen() {
    Zustand& z = *z_;
    if (z.phase == Zustand::Phase::Kaputt) Fehler("Der gepackte Datenstrom ist beschädigt.");
    if (z.eingabe < kMindestLaengeStrom) ZuKurz();
    if (z.phase == Zustand::Phase::Rumpf || z.kopfLaenge > 0 || z.rahmen == 0) {
        z.phase = Zustand::Phase::Kaputt;
        Abgeschnitten();
    }
    try {
        z.Ausgeben();
    } catch (...) {
        z.phase = Zustand::Phase::Kaputt;
        throw;
    }
}

std::uint64_t Entpacker::Ausgegeben() const { return z_->aus; }

void LaengePruefen(std::uint64_t stromLaenge) {
    if (stromLaenge < kMindestLaengeStrom) ZuKurz();
}

void Entpacken(std::span<const std::span<const std::uint8_t>> teile, const Senke& senke) {
    std::uint64_t gesamt = 0;
    for (const auto& t : teile) gesamt += t.size();
    LaengePruefen(gesamt);
    Entpacker e(senke);
    for (const auto& t : teile) e.Weiter(t);
    e.Abschliessen();
}

namespace {

// Packed bytes are read in pieces of this size.
constexpr std::size_t kLesePuffer = std::size_t{1} << 20;
// Full buffers that may wait for the writer: enough to ride out a slow write, small
// beside the decoder's window.
constexpr std::size_t kRingPlaetze = 4;

// Reads the ranges piece by piece and decodes them into `senke`.
void Dekodieren(std::span<const ByteRange> strom, const Leser& lesen, Puffersenke senke) {
    std::uint64_t gesamt = 0;
    for (const ByteRange& b : strom) gesamt += b.length;
    LaengePruefen(gesamt);
    Entpacker entpacker(std::move(senke));
    static_assert(kLesePuffer == kAusgabePuffer);
    struct Geliehen {
        Puffer p = Puffervorrat().Nehmen();
        ~Geliehen() { Puffervorrat().Zurueck(std::move(p)); }
    } geliehen;
    Puffer& puffer = geliehen.p;
    for (const ByteRange& b : strom) {
        for (std::uint64_t gelesen = 0; gelesen < b.length;) {
            const auto n = static_cast<std::size_t>(
                std::min<std::uint64_t>(puffer.size(), b.length - gelesen));
            const std::span<std::uint8_t> stueck(puffer.data(), n);
            lesen(b.offset + gelesen, stueck);
            entpacker.Weiter(stueck);
            gelesen += n;
        }
    }
    entpacker.Abschliessen();
}

// Buffers between the decoding thread (fills) and the writing thread (empties).
class Ring {
public:
    struct Stueck {
        Puffer puffer;
        std::size_t n = 0;
    };

    Ring() {
        for (std::size_t i = 0; i < kRingPlaetze; ++i) frei_.push_back(Puffervorrat().Nehmen());
    }
    ~Ring() {
        for (auto& p : frei_) Puffervorrat().Zurueck(std::move(p));
        for (auto& s : voll_) Puffervorrat().Zurueck(std::move(s.puffer));
    }
    Ring(const Ring&) = delete;
    Ring& operator=(const Ring&) = delete;

    // Decoding side: queues the full buffer and takes an empty one in its place.
    // Throws the writer's fault once the writer has given up.
    void Abgeben(Puffer& puffer, std::size_t n) {
        std::unique_lock sperre(m_);
        wechsel_.wait(sperre, [this] { return !frei_.empty() || schreibfehler_; });
        if (schreibfehler_) std::rethrow_exception(schreibfehler_);
        voll_.push_back({std::move(puffer), n});
        puffer = std::move(frei_.back());
        frei_.pop_back();
        wechsel_.notify_all();
    }

    // Decoding side: nothing more will come (also after a fault).
    void Ende() {
        std::lock_guard sperre(m_);
        fertig_ = true;
        wechsel_.notify_all();
    }

    // Writing side: the next full buffer; false once there is none and none will come.
    bool Holen(Stueck& stueck) {
        std::unique_lock sperre(m_);
        wechsel_.wait(sperre, [this] { return !voll_.empty() || fertig_; });
        if (voll_.empty()) return false;
        stueck = std::move(voll_.front());
        voll_.pop_front();
        return true;
    }

    // Writing side: the buffer is written and free again.
    void Zurueckgeben(Puffer puffer) {
        std::lock_guard sperre(m_);
        frei_.push_back(std::move(puffer));
        wechsel_.notify_all();
    }

    // Writing side: it failed and takes nothing more.
    void Abbrechen(std::exception_ptr fehler) {
        std::lock_guard sperre(m_);
        schreibfehler_ = std::move(fehler);
        wechsel_.notify_all();
    }

    std::exception_ptr Schreibfehler() {
        std::lock_guard sperre(m_);
        return schreibfehler_;
    }

private:
    std::mutex m_;
    std::condition_variable wechsel_;
    std::deque<Stueck> voll_;
    std::vector<Puffer> frei_;
    bool fertig_ = false;
    std::exception_ptr schreibfehler_;
};

}  // namespace

void EntpackenNebenher(std::span<const ByteRange> strom, const Leser& lesen,
                       const Senke& schreiben) {
    Ring ring;
    std::thread schreiber;
    try {
        // The second thread only writes: the buffers, the decoder and its memory stay
        // with the calling thread.
        schreiber = std::thread([&ring, &schreiben] {
            try {
                for (Ring::Stueck s; ring.Holen(s);) {
                    schreiben(std::span<const std::uint8_t>(s.puffer.data(), s.n));
                    ring.Zurueckgeben(std::move(s.puffer));
                }
            } catch (...) {
                ring.Abbrechen(std::current_exception());
            }
        });
    } catch (const std::system_error&) {
        // No second thread to be had: decode and write by turns.
        Dekodieren(strom, lesen, [&schreiben](Puffer& p, std::size_t n) {
            schreiben(std::span<const std::uint8_t>(p.data(), n));
        });
        return;
    }
    try {
        Dekodieren(strom, lesen, [&ring](Puffer& p, std::size_t n) {
            ring.Abgeben(p, n);
        });
    } catch (...) {
        ring.Ende();
        schreiber.join();
        throw;
    }
    ring.Ende();
    schreiber.join();
    if (const std::exception_ptr fehler = ring.Schreibfehler()) std::rethrow_exception(fehler);
}

}  // namespace kaldorin
