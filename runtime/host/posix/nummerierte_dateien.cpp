#include "runtime/host/posix/nummerierte_dateien.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cctype>
#include <chrono>
#include <string_view>

#include "runtime/entpacken.h"

namespace kaldorin {

namespace {

std::string Grund(int fehler) {
    switch (fehler) {
        case ENOSPC: return "Der Datenträger ist voll.";
        case EDQUOT: return "Der zugeteilte Speicherplatz ist erschöpft.";
        case EFBIG: return "Die Datei wird zu groß.";
        case EACCES:
        case EPERM: return "Der Zugriff wurde verweigert.";
        case EROFS: return "Der Datenträger ist schreibgeschützt.";
        case ENOENT: return "Die Datei oder ihr Ordner ist nicht vorhanden.";
        case ENOTDIR: return "Ein Teil des Pfades ist kein Ordner.";
        case EISDIR: return "Ein Ordner dieses Namens ist vorhanden.";
        case EIO: return "Der Datenträger meldet einen Ein-/Ausgabefehler.";
        case ENAMETOOLONG: return "Der Name ist zu lang.";
        case EMFILE:
        case ENFILE: return "Es sind zu viele Dateien geöffnet.";
        default: return "Systemfehler Nummer " + std::to_string(fehler) + ".";
    }
}

[[noreturn]] void Fehler(std::string_view was, const std::string& pfad, const std::string& grund) {
    throw Laufzeitfehler("Die Datei \"" + pfad + "\" " + std::string(was) + ": " + grund);
}

[[noreturn]] void NichtSchreibbar(const std::string& pfad, const std::string& grund) {
    Fehler("kann nicht geschrieben werden", pfad, grund);
}

std::string OrdnerVon(const std::string& pfad) {
    const auto schnitt = pfad.find_last_of('/');
    if (schnitt == std::string::npos) return ".";
    if (schnitt == 0) return "/";
    return pfad.substr(0, schnitt);
}

std::string NameVon(const std::string& pfad) {
    const auto schnitt = pfad.find_last_of('/');
    return schnitt == std::string::npos ? pfad : pfad.substr(schnitt + 1);
}

bool InGruppe(gid_t gruppe) {
    if (gruppe == getegid()) return true;
    gid_t gruppen[256];
    const int n = getgroups(256, gruppen);
    for (int i = 0; i < n; ++i) {
        if (gruppen[i] == gruppe) return true;
    }
    return false;
}

// Write permission as the mode bits grant it to this process. The superuser passes
// every permission check of the system, but a file or folder marked read-only must
// stay untouched for it as well.
bool ModusErlaubtSchreiben(const struct stat& st) {
    if (st.st_uid == geteuid()) return (st.st_mode & S_IWUSR) != 0;
    if (InGruppe(st.st_gid)) return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

void OrdnerPruefen(const std::string& ziel, const std::string& ordner) {
    struct stat st {};
    if (stat(ordner.c_str(), &st) != 0) {
        NichtSchreibbar(ziel, "Der Ordner \"" + ordner + "\" ist nicht vorhanden.");
    }
    if (!S_ISDIR(st.st_mode)) NichtSchreibbar(ziel, "\"" + ordner + "\" ist kein Ordner.");
    if (access(ordner.c_str(), W_OK | X_OK) != 0) NichtSchreibbar(ziel, Grund(errno));
    if (!ModusErlaubtSchreiben(st)) {
        NichtSchreibbar(ziel, "Der Ordner \"" + ordner + "\" ist schreibgeschützt.");
    }
}

void ZielPruefen(const std::string& ziel) {
    struct stat st {};
    if (stat(ziel.c_str(), &st) != 0) {
        if (errno == ENOENT) return;  // a new file
        NichtSchreibbar(ziel, Grund(errno));
    }
    if (S_ISDIR(st.st_mode)) NichtSchreibbar(ziel, Grund(EISDIR));
    if (!S_ISREG(st.st_mode)) NichtSchreibbar(ziel, "Sie ist keine gewöhnliche Datei.");
    if (access(ziel.c_str(), W_OK) != 0) NichtSchreibbar(ziel, Grund(errno));
    if (!ModusErlaubtSchreiben(st)) NichtSchreibbar(ziel, "Die Datei ist schreibgeschützt.");
}

constexpr std::string_view kTempZeichen = ".kaldorin-";
constexpr std::size_t kTempNameLaenge = 180;  // of the target's name: well below NAME_MAX

// A name for the temporary file that no other writer picks: process, counter, clock.
std::string TempName(const std::string& ordner, const std::string& name) {
    static std::atomic<unsigned> zaehler{0};
    const auto takt = std::chrono::steady_clock::now().time_since_epoch().count();
    return ordner + "/." + name.substr(0, kTempNameLaenge) + std::string(kTempZeichen) +
           std::to_string(getpid()) + "-" + std::to_string(zaehler++) + "-" +
           std::to_string(takt % 1000000);
}

bool GleichOhneFall(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Whether `eintrag` is a name TempName gives: for the target `name`, or for any
// target when `name` is empty.
bool IstTempName(std::string_view eintrag, std::string_view name) {
    const auto zeichen = eintrag.rfind(kTempZeichen);
    if (eintrag.size() < 2 || eintrag.front() != '.' || zeichen == std::string_view::npos ||
        zeichen < 2)
        return false;
    int zahlen = 0;
    bool ziffer = false;
    for (const char c : eintrag.substr(zeichen + kTempZeichen.size())) {
        if (c == '-' && ziffer) {
            ++zahlen;
            ziffer = false;
        } else if (c >= '0' && c <= '9') {
            ziffer = true;
        } else {
            return false;
        }
    }
    if (zahlen != 2 || !ziffer) return false;
    return name.empty() ||
           GleichOhneFall(eintrag.substr(1, zeichen - 1), name.substr(0, kTempNameLaenge));
}

// Removes the temporary file `pfad` when no writer holds it: a writer keeps its
// temporary file locked from creation until the rename, so an unlocked one was left
// by a writer that died. A file we may not open is not ours to judge.
void EntfernenWennVerwaist(const std::string& pfad) {
    const int fd = open(pfad.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat offen {}, jetzt {};
    if (fstat(fd, &offen) == 0 && S_ISREG(offen.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(pfad.c_str(), &jetzt) == 0 && jetzt.st_ino == offen.st_ino &&
        jetzt.st_dev == offen.st_dev) {
        unlink(pfad.c_str());
    }
    close(fd);  // releases the lock, after the name is gone
}

// The stale temporary files in `ordner`: of the target `name`, or of any when empty.
void VerwaisteEntfernen(const std::string& ordner, std::string_view name) {
    DIR* d = opendir(ordner.c_str());
    if (d == nullptr) return;
    std::vector<std::string> kandidaten;
    while (const dirent* e = readdir(d)) {
        if (IstTempName(e->d_name, name)) kandidaten.emplace_back(e->d_name);
    }
    closedir(d);
    for (const std::string& k : kandidaten) EntfernenWennVerwaist(ordner + "/" + k);
}

void AllesSchreiben(int fd, std::span<const std::uint8_t> bytes, const std::string& ziel) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            NichtSchreibbar(ziel, Grund(errno));
        }
        if (n == 0) NichtSchreibbar(ziel, Grund(ENOSPC));
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
}

// A large file's data is flushed every this many bytes while it is written: the disk
// then writes, and empties its own cache, while the next pieces are decoded, and the
// flush before the rename waits only for the last few. Flushing only at the end, with
// the writes merely started (sync_file_range), measured 5 to 17 % slower on whole
// installations: that last flush then waited for the whole file to leave the disk's cache.
constexpr std::uint64_t kSicherungsSchritt = std::uint64_t{4} << 20;

// Fills `puffer` from `offset`; throws when the file ends first.
void AllesLesen(int fd, std::uint64_t offset, std::span<std::uint8_t> puffer,
                const std::string& pfad) {
    while (!puffer.empty()) {
        const ssize_t n = pread(fd, puffer.data(), puffer.size(), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fehler("kann nicht gelesen werden", pfad, Grund(errno));
        }
        if (n == 0) Fehler("kann nicht gelesen werden", pfad, "Sie ist kürzer als erwartet.");
        puffer = puffer.subspan(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
}

}  // namespace

struct NummerierteDateien::Datei {
    int fd = -1;
    // A second descriptor of the temporary file that keeps its lock until the rename
    // or the removal is done, also past the close of `fd` that may fail.
    int sperre = -1;
    bool schreiben = false;
    bool kaputt = false;  // a write or an unpack failed: never complete this write
    std::uint64_t basis = 0;             // where a range read as a file begins
    std::optional<std::uint64_t> teil;   // that range's length
    std::string pfad;     // the file read, or the target written
    std::string temp;     // the temporary file of a write

    ~Datei() {
        if (fd >= 0) close(fd);
        if (!temp.empty()) unlink(temp.c_str());
        if (sperre >= 0) close(sperre);
    }
};

void VerwaisteTempDateienEntfernen(const std::string& hostOrdner) {
    VerwaisteEntfernen(hostOrdner, "");
}

NummerierteDateien::NummerierteDateien() : NummerierteDateien(Abschluss{}) {}

NummerierteDateien::NummerierteDateien(Abschluss abschluss) : abschluss_(abschluss) {
    if (!abschluss_.flush) abschluss_.flush = fsync;
    if (!abschluss_.schliessen) abschluss_.schliessen = close;
}
NummerierteDateien::~NummerierteDateien() {
    offen_.clear();
    OrdnerSichern();
}

NummerierteDateien::Datei& NummerierteDateien::Finden(int file) {
    const auto it = offen_.find(file);
    if (it == offen_.end()) {
        throw Laufzeitfehler("Die Dateinummer " + std::to_string(file) + " ist nicht geöffnet.");
    }
    return *it->second;
}

NummerierteDateien::Datei& NummerierteDateien::Lesedatei(int file) {
    Datei& d = Finden(file);
    if (d.schreiben) {
        throw Laufzeitfehler("Die Dateinummer " + std::to_string(file) +
                             " ist nicht zum Lesen geöffnet.");
    }
    return d;
}

NummerierteDateien::Datei& NummerierteDateien::Schreibdatei(int file) {
    Datei& d = Finden(file);
    if (!d.schreiben) {
        throw Laufzeitfehler("Die Dateinummer " + std::to_string(file) +
                             " ist nicht zum Schreiben geöffnet.");
    }
    return d;
}

int NummerierteDateien::OpenRead(const std::string& hostPath, std::optional<ByteRange> teil) {
    auto d = std::make_unique<Datei>();
    d->pfad = hostPath;
    d->fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (d->fd < 0) Fehler("kann nicht gelesen werden", hostPath, Grund(errno));
    struct stat st {};
    if (fstat(d->fd, &st) != 0) Fehler("kann nicht gelesen werden", hostPath, Grund(errno));
    if (S_ISDIR(st.st_mode)) Fehler("kann nicht gelesen werden", hostPath, Grund(EISDIR));
    if (teil) {
        const auto laenge = static_cast<std::uint64_t>(st.st_size);
        if (teil->offset > laenge || teil->length > laenge - teil->offset ||
            lseek(d->fd, static_cast<off_t>(teil->offset), SEEK_SET) < 0)
            Fehler("kann nicht gelesen werden", hostPath, "Sie ist kürzer als erwartet.");
        d->basis = teil->offset;
        d->teil = teil->length;
    }
    posix_fadvise(d->fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const int nummer = naechste_++;
    offen_[nummer] = std::move(d);
    return nummer;
}

int NummerierteDateien::OpenWrite(const std::string& hostPath) {
    const std::string ordner = OrdnerVon(hostPath);
    OrdnerPruefen(hostPath, ordner);
    ZielPruefen(hostPath);

    // What an earlier writer of this target left when it was killed.
    VerwaisteEntfernen(ordner, NameVon(hostPath));

    auto d = std::make_unique<Datei>();
    d->schreiben = true;
    d->pfad = hostPath;
    for (int versuch = 0; versuch < 100 && d->fd < 0; ++versuch) {
        const std::string temp = TempName(ordner, NameVon(hostPath));
        // 0666 under the umask: the new file gets the mode any new file gets here.
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST) NichtSchreibbar(hostPath, Grund(errno));
            continue;
        }
        // Locked from here to the rename: the mark of a live writer. Between the
        // creation and the lock another setup program may have judged the file stale
        // and removed it; then take the next name. Where the file system has no locks,
        // nobody removes anything.
        struct stat st {};
        if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink == 0) {
            close(fd);
            continue;
        }
        d->fd = fd;
        d->sperre = fcntl(fd, F_DUPFD_CLOEXEC, 0);
        d->temp = temp;
    }
    if (d->fd < 0) NichtSchreibbar(hostPath, Grund(EEXIST));
    const int nummer = naechste_++;
    offen_[nummer] = std::move(d);
    return nummer;
}

std::uint64_t NummerierteDateien::Length(int file) {
    Datei& d = Finden(file);
    if (d.teil) return *d.teil;
    struct stat st {};
    if (fstat(d.fd, &st) != 0) Fehler("kann nicht gelesen werden", d.pfad, Grund(errno));
    return static_cast<std::uint64_t>(st.st_size);
}

std::vector<std::uint8_t> NummerierteDateien::Read(int file, std::size_t count) {
    Datei& d = Lesedatei(file);
    const off_t position = lseek(d.fd, 0, SEEK_CUR);
    if (position < 0) Fehler("kann nicht gelesen werden", d.pfad, Grund(errno));
    // Checked before allocating, so a wrong count cannot ask for a huge buffer.
    if (count > Length(file) - (static_cast<std::uint64_t>(position) - d.basis)) {
        Fehler("kann nicht gelesen werden", d.pfad, "Sie ist kürzer als erwartet.");
    }
    std::vector<std::uint8_t> daten(count);
    AllesLesen(d.fd, static_cast<std::uint64_t>(position), daten, d.pfad);
    if (lseek(d.fd, position + static_cast<off_t>(count), SEEK_SET) < 0) {
        Fehler("kann nicht gelesen werden", d.pfad, Grund(errno));
    }
    return daten;
}

void NummerierteDateien::Write(int file, std::span<const std::uint8_t> bytes) {
    Datei& d = Schreibdatei(file);
    try {
        AllesSchreiben(d.fd, bytes, d.pfad);
    } catch (...) {
        d.kaputt = true;
        throw;
    }
}

void NummerierteDateien::Close(int file) {
    Finden(file);
    // Released whatever happens below; the destructor removes a temporary file left.
    const std::unique_ptr<Datei> d = std::move(offen_.at(file));
    offen_.erase(file);
    if (!d->schreiben) return;

    if (d->kaputt) NichtSchreibbar(d->pfad, "Sie wurde nicht vollständig geschrieben.");
    // Only data that has reached the disk may replace the target.
    if (abschluss_.flush(d->fd) != 0) NichtSchreibbar(d->pfad, Grund(errno));
    const int fd = d->fd;
    d->fd = -1;
    if (abschluss_.schliessen(fd) != 0) NichtSchreibbar(d->pfad, Grund(errno));
    if (rename(d->temp.c_str(), d->pfad.c_str()) != 0) NichtSchreibbar(d->pfad, Grund(errno));
    d->temp.clear();
    // The rename is only durable once the folder is flushed: joined for the folder's
    // files, which saves a flush of the disk per file.
    ungesichert_.insert(OrdnerVon(d->pfad));
}

void NummerierteDateien::OrdnerSichern() {
    for (const std::string& pfad : ungesichert_) {
        const int ordner = open(pfad.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (ordner >= 0) {
            abschluss_.flush(ordner);
            close(ordner);
        }
    }
    ungesichert_.clear();
}

void NummerierteDateien::Discard(int file) {
    Finden(file);
    offen_.erase(file);  // the destructor closes and removes the temporary file
}

void NummerierteDateien::Unpack(int source, std::span<const ByteRange> stream, int target) {
    Datei& q = Lesedatei(source);
    Datei& z = Schreibdatei(target);
    try {
        const std::uint64_t laenge = Length(source);
        for (const ByteRange& b : stream) {
            if (b.offset > laenge || b.length > laenge - b.offset) {
                Fehler("kann nicht entpackt werden", q.pfad,
                       "Die gepackte Datei ist kürzer als erwartet.");
            }
        }
        // The writes happen on a second thread; it touches nothing but the target.
        std::uint64_t geschrieben = 0;
        EntpackenNebenher(
            stream,
            [&q](std::uint64_t offset, std::span<std::uint8_t> ziel) {
                AllesLesen(q.fd, q.basis + offset, ziel, q.pfad);
            },
            [this, &z, &geschrieben](std::span<const std::uint8_t> teil) {
                AllesSchreiben(z.fd, teil, z.pfad);
                const std::uint64_t vorher = geschrieben;
                geschrieben += teil.size();
                // A failed flush must be reported now: the system tells it only once.
                if (geschrieben / kSicherungsSchritt != vorher / kSicherungsSchritt &&
                    abschluss_.flush(z.fd) != 0) {
                    NichtSchreibbar(z.pfad, Grund(errno));
                }
            });
    } catch (...) {
        z.kaputt = true;
        throw;
    }
}

}  // namespace kaldorin
