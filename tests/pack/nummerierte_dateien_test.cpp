// The POSIX numbered files: what counts as not writable (also for the superuser),
// and that a write reaches its target only whole.
#include "runtime/host/posix/nummerierte_dateien.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "tests/pack/hilfen.h"

namespace kaldorin::test {
namespace {

using NummerierteDateienTest = MitOrdner;

TEST_F(NummerierteDateienTest, SchreibtErstBeimSchliessenVerwerfenLaesstZielUndKeinenRest) {
    const fs::path ziel = ordner / "t4.ovl";
    Schreiben(ziel, Text("alt und lang"));
    {
        NummerierteDateien d;
        int z = d.OpenWrite(ziel);
        d.Write(z, Text("halb"));
        d.Discard(z);
        z = d.OpenWrite(ziel);
        d.Write(z, Text("neu"));
        EXPECT_EQ(Lesen(ziel), Text("alt und lang"));
        d.Close(z);
        EXPECT_EQ(Lesen(ziel), Text("neu"));
        EXPECT_THROW(d.Close(z), Laufzeitfehler);  // the number is gone
        d.OpenWrite(ordner / "neu.txt");  // left open: the destructor throws it away
    }
    EXPECT_EQ(Namen(ordner), std::set<std::string>{"t4.ovl"});
}

// A flush or a close that fails means the data may not be on the disk: the old target
// must stay as it was, and the temporary file must go.
TEST_F(NummerierteDateienTest, FehlerBeimAbschlussLaesstAltesZiel) {
    const auto flushFehler = +[](int) { errno = EIO; return -1; };
    const auto schliessFehler = +[](int fd) { close(fd); errno = EIO; return -1; };
    for (const NummerierteDateien::Abschluss abschluss :
         {NummerierteDateien::Abschluss{flushFehler, nullptr},
          NummerierteDateien::Abschluss{nullptr, schliessFehler}}) {
        const fs::path ziel = ordner / "KALDORIN.EXE";
        Schreiben(ziel, Text("alt und bewährt"));
        NummerierteDateien d(abschluss);
        const int z = d.OpenWrite(ziel);
        d.Write(z, Text("neu"));
        EXPECT_THROW(d.Close(z), Laufzeitfehler);
        EXPECT_EQ(Lesen(ziel), Text("alt und bewährt"));
        EXPECT_EQ(Namen(ordner), std::set<std::string>{"KALDORIN.EXE"});
        EXPECT_THROW(d.Close(z), Laufzeitfehler);  // the number is released all the same
    }
}

// A rename is made durable by flushing its folder: once per folder for all its files,
// when the host asks (before the settings record the installation) and at the end.
TEST_F(NummerierteDateienTest, OrdnerWerdenEinmalGesichert) {
    static int flushes;
    flushes = 0;
    const NummerierteDateien::Abschluss zaehlen{+[](int fd) { ++flushes; return fsync(fd); },
                                                nullptr};
    fs::create_directory(ordner / "Help");
    const auto schreiben = [](NummerierteDateien& d, const fs::path& ziel) {
        const int z = d.OpenWrite(ziel);
        d.Write(z, Text("x"));
        d.Close(z);
    };
    {
        NummerierteDateien d(zaehlen);
        for (const fs::path& ziel : {ordner / "a", ordner / "b", ordner / "Help" / "c"})
            schreiben(d, ziel);
        EXPECT_EQ(flushes, 3);  // the files
        d.OrdnerSichern();
        EXPECT_EQ(flushes, 5);  // and each folder once
        d.OrdnerSichern();
        EXPECT_EQ(flushes, 5);
        schreiben(d, ordner / "d");
    }
    EXPECT_EQ(flushes, 7);  // the last file's folder at the end
}

// A writer killed in the middle leaves its temporary file and the old target whole. The
// next write of that target removes the temporary file, and so does clearing the folder;
// the temporary file of a live writer, and a file that only looks like ours, stay.
TEST_F(NummerierteDateienTest, VerwaisteTempDateienGehenLebendeBleiben) {
    const fs::path ziel = ordner / "KALDORIN.PA1", anderes = ordner / "t4.ovl";
    Schreiben(anderes, Text("alt"));
    const pid_t kind = fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        NummerierteDateien d;
        d.Write(d.OpenWrite(ziel), Text("halb"));
        d.Write(d.OpenWrite(anderes), Text("halb"));
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(kind, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Lesen(anderes), Text("alt"));
    std::set<std::string> verwaist = Namen(ordner);
    verwaist.erase("t4.ovl");
    ASSERT_EQ(verwaist.size(), 2u);
    Schreiben(ordner / ".KALDORIN.PA1.kaldorin-Notizen", Text("des Nutzers"));

    NummerierteDateien lebend;
    const int l = lebend.OpenWrite(ziel);  // takes away the killed writer's file of this target
    std::set<std::string> jetzt = Namen(ordner);
    EXPECT_EQ(jetzt.size(), 4u);
    for (const auto& n : verwaist) EXPECT_EQ(jetzt.count(n), n.starts_with(".t4.ovl") ? 1u : 0u) << n;

    NummerierteDateien zweiter;
    const int z = zweiter.OpenWrite(ziel);  // the live writer's file stays
    VerwaisteTempDateienEntfernen(ordner.string());
    jetzt = Namen(ordner);
    EXPECT_EQ(jetzt.size(), 4u);
    EXPECT_EQ(jetzt.count(".KALDORIN.PA1.kaldorin-Notizen"), 1u);
    for (const auto& n : verwaist) EXPECT_EQ(jetzt.count(n), 0u) << n;

    lebend.Write(l, Text("eins"));
    lebend.Close(l);
    zweiter.Write(z, Text("zwei"));
    zweiter.Close(z);
    EXPECT_EQ(Lesen(ziel), Text("zwei"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{".KALDORIN.PA1.kaldorin-Notizen", "KALDORIN.PA1", "t4.ovl"}));
}

TEST_F(NummerierteDateienTest, NichtSchreibbarAuchFuerDenSuperuser) {
    NummerierteDateien d;
    const fs::path schreibgeschuetzt = ordner / "ro.exe";
    Schreiben(schreibgeschuetzt, Text("alt"));
    fs::permissions(schreibgeschuetzt, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(d.OpenWrite(schreibgeschuetzt), Laufzeitfehler);

    fs::create_directory(ordner / "Ordner");
    EXPECT_THROW(d.OpenWrite(ordner / "Ordner"), Laufzeitfehler);
    EXPECT_THROW(d.OpenWrite(ordner / "fehlt" / "x.txt"), Laufzeitfehler);

    const fs::path gesperrt = ordner / "gesperrt";
    fs::create_directory(gesperrt);
    fs::permissions(gesperrt, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(d.OpenWrite(gesperrt / "neu.txt"), Laufzeitfehler);

    EXPECT_EQ(Lesen(schreibgeschuetzt), Text("alt"));
    EXPECT_FALSE(fs::exists(gesperrt / "neu.txt"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"Ordner", "gesperrt", "ro.exe"}));
}

TEST_F(NummerierteDateienTest, NeueDateiNimmtNichtsVomAltenZielMit) {
    const fs::path ziel = ordner / "KALDORIN.PA1";
    Schreiben(ziel, Text("alt"));
    fs::permissions(ziel, fs::perms::owner_read | fs::perms::owner_write);
    const mode_t vorher = umask(022);
    NummerierteDateien d;
    const int z = d.OpenWrite(ziel);
    d.Write(z, Text("neu"));
    d.Close(z);
    umask(vorher);
    struct stat st {};
    ASSERT_EQ(stat(ziel.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(NummerierteDateienTest, LesenGenauOderGarNicht) {
    const fs::path quelle = ordner / "q.bin";
    Schreiben(quelle, Text("0123456789"));
    NummerierteDateien d;
    const int q = d.OpenRead(quelle);
    EXPECT_EQ(d.Length(q), 10u);
    EXPECT_EQ(d.Read(q, 4), Text("0123"));
    EXPECT_EQ(d.Read(q, 6), Text("456789"));
    EXPECT_THROW(d.Read(q, 1), Laufzeitfehler);
    EXPECT_THROW(d.Read(q, std::size_t{1} << 62), Laufzeitfehler);  // no huge buffer first
    EXPECT_THROW(d.Write(q, Text("x")), Laufzeitfehler);
    d.Close(q);
    EXPECT_THROW(d.OpenRead(ordner / "fehlt"), Laufzeitfehler);
    EXPECT_THROW(d.OpenRead(ordner), Laufzeitfehler);
}

// A damaged stream or a range the source does not hold: the target is never completed.
TEST_F(NummerierteDateienTest, FehlgeschlagenesEntpackenWirdNieVollendet) {
    const fs::path quelle = ordner / "q.px_", ziel = ordner / "ziel";
    Bytes strom = Packen(Inhalt(300000));
    strom[strom.size() / 2] ^= 0xFF;
    Schreiben(quelle, strom);
    Schreiben(ziel, Text("alt"));
    NummerierteDateien d;
    const int q = d.OpenRead(quelle), z = d.OpenWrite(ziel);
    for (const ByteRange bereich : {ByteRange{0, strom.size()}, ByteRange{0, strom.size() + 1},
                                    ByteRange{~std::uint64_t{0}, 2}})
        EXPECT_THROW(d.Unpack(q, std::span(&bereich, 1), z), Laufzeitfehler);
    EXPECT_THROW(d.Close(z), Laufzeitfehler);
    EXPECT_EQ(Lesen(ziel), Text("alt"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"q.px_", "ziel"}));
}

// A large file is flushed while it is expanded, every 4 MiB and not with every piece: for
// 12 MiB three on the way, one before the rename and one for the folder. The system
// reports a failed flush only once, so it must fail the expansion then, not be left to
// the flush before the rename.
TEST_F(NummerierteDateienTest, ZwischenflushAlleVierMiB) {
    static int flushes, fehltBei;
    const NummerierteDateien::Abschluss zaehlen{
        +[](int fd) { return ++flushes == fehltBei ? (errno = EIO, -1) : fsync(fd); }, nullptr};
    const fs::path quelle = ordner / "q.px_", ziel = ordner / "T14.ovl";
    const Bytes strom = Packen(Inhalt(12 << 20));
    Schreiben(quelle, strom);
    const ByteRange alles{0, strom.size()};
    flushes = 0, fehltBei = 0;
    {
        NummerierteDateien d(zaehlen);
        const int q = d.OpenRead(quelle), z = d.OpenWrite(ziel);
        d.Unpack(q, std::span(&alles, 1), z);
        d.Close(z);
    }
    EXPECT_EQ(flushes, 5);

    flushes = 0, fehltBei = 2;
    Schreiben(ziel, Text("alt"));
    NummerierteDateien d(zaehlen);
    const int q = d.OpenRead(quelle), z = d.OpenWrite(ziel);
    try {
        d.Unpack(q, std::span(&alles, 1), z);
        ADD_FAILURE() << "the failed flush went unreported";
    } catch (const Laufzeitfehler& f) {
        EXPECT_NE(std::string(f.what()).find("T14.ovl"), std::string::npos) << f.what();
    }
    EXPECT_EQ(flushes, 2);
    EXPECT_THROW(d.Close(z), Laufzeitfehler);
    EXPECT_EQ(Lesen(ziel), Text("alt"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"q.px_", "T14.ovl"}));
}

// A full disk, imitated by a file size limit in a child process.
TEST_F(NummerierteDateienTest, VollerDatentraegerLaesstZielStehen) {
    const fs::path quelle = ordner / "q.px_", ziel = ordner / "ziel";
    const Bytes strom = Packen(Inhalt(4 << 20));
    Schreiben(quelle, strom);
    Schreiben(ziel, Text("alt"));
    const pid_t kind = fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit grenze{1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &grenze);
        NummerierteDateien d;
        const int q = d.OpenRead(quelle), z = d.OpenWrite(ziel);
        const ByteRange alles{0, strom.size()};
        try {
            d.Unpack(q, std::span(&alles, 1), z);
            _exit(1);
        } catch (const Laufzeitfehler& f) {
            if (std::string(f.what()).find("zu groß") == std::string::npos) _exit(2);
        }
        d.Discard(z);
        _exit(0);
    }
    int status = 0;
    waitpid(kind, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Lesen(ziel), Text("alt"));
    EXPECT_EQ(Namen(ordner), (std::set<std::string>{"q.px_", "ziel"}));
}

}  // namespace
}  // namespace kaldorin::test
