#include <sys/wait.h>

#include <set>

#include "host_fixture.h"

namespace kaldorin::test {
namespace {

class EinstellungenTest : public HostTest {
protected:
    std::string Ini() const { return prefix_ + "/settings.ini"; }

    // Every settings operation must fail and leave the file as it was.
    void AllesScheitert() {
        const bool datei = fs::is_regular_file(Ini());
        const std::string vorher = datei ? Lies(Ini()) : "";
        EXPECT_THROW(host_->ReadText("VORK", "KALDORIN", "Dir"), Laufzeitfehler);
        EXPECT_THROW(host_->ReadInt("VORK", "KALDORIN", "Dir", 7), Laufzeitfehler);
        EXPECT_THROW(host_->WriteText("VORK", "KALDORIN", "Dir", "C:\\x"), Laufzeitfehler);
        EXPECT_THROW(host_->WriteInt("VORK", "KALDORIN", "Zahl", 1), Laufzeitfehler);
        EXPECT_THROW(host_->DeleteKey("VORK", "KALDORIN", "Dir"), Laufzeitfehler);
        EXPECT_THROW(host_->DeleteSection("VORK", "KALDORIN"), Laufzeitfehler);
        EXPECT_THROW(host_->DeleteApplication("VORK"), Laufzeitfehler);
        EXPECT_THROW(host_->WriteDword("VORK", "KALDORIN", "Zahl", 1), Laufzeitfehler);
        EXPECT_THROW(host_->DeleteSectionTree("VORK", "KALDORIN"), Laufzeitfehler);
        EXPECT_EQ(datei ? Lies(Ini()) : "", vorher);
        // No temporary file is left beside it.
        const std::set<std::string> erlaubt = {"drive_c", "settings.ini", "settings.ini.lock"};
        for (const auto& e : fs::directory_iterator(prefix_)) EXPECT_TRUE(erlaubt.count(e.path().filename())) << e.path();
    }
};

TEST_F(EinstellungenTest, TextsAndIntegersRoundTripWithoutRegardToCase) {
    // Case-blind reading is one of the host rules (host_regeln.h); here the file.
    host_->WriteText("VORK", "KALDORIN", "Dir", "C:\\Programme\\KALDORIN");
    host_->WriteText("Vork", "kaldorin", "DIR", "D:\\Straße");
    EXPECT_EQ(host_->ReadText("VORK", "KALDORIN", "Dir"), "D:\\Straße");
    EXPECT_EQ(Lies(Ini()), "[VORK\\KALDORIN]\nDir=D:\\Straße\n");  // first spelling kept
    // Another instance (another program) sees the same store.
    EXPECT_EQ(NeuerHost()->ReadText("VORK", "KALDORIN", "dir"), "D:\\Straße");
    // Integers, and the fallback for what is none.
    EXPECT_EQ(host_->ReadInt("A", "B", "n", 42), 42);
    host_->WriteInt("A", "B", "n", -17);
    EXPECT_EQ(host_->ReadInt("a", "b", "N", 42), -17);
    host_->WriteInt("A", "B", "gross", INT64_MAX);
    EXPECT_EQ(host_->ReadInt("A", "B", "gross", 0), INT64_MAX);
    for (const char* kein : {"", "abc", "12abc", "1.5", "99999999999999999999", "- 3"}) {
        host_->WriteText("A", "B", "t", kein);
        EXPECT_EQ(host_->ReadInt("A", "B", "t", 5), 5) << kein;
    }
}

TEST_F(EinstellungenTest, ValuesCannotBreakTheFileApart) {
    const std::string werte[] = {"zwei\nZeilen\r\n[VORK\\KALDORIN]\nDir=C:\\falsch",
                                 "  Leerzeichen  ", "\"zitiert\"", "a=b", "\\x41", std::string("n\0ull", 5)};
    for (const auto& wert : werte) {
        host_->WriteText("App", "Teil", "k", wert);
        EXPECT_EQ(host_->ReadText("App", "Teil", "k"), wert);
    }
    EXPECT_EQ(host_->ReadText("VORK", "KALDORIN", "Dir"), "");
    EXPECT_THROW(host_->WriteText("App", "Teil", "k", "\xFF\xFE"), Laufzeitfehler);
    for (const char* name : {"", "a=b", "[x", " vorne", "zeile\n"})
        EXPECT_THROW(host_->WriteText("App", "Teil", name, "w"), Laufzeitfehler) << name;
    EXPECT_THROW(host_->WriteText("A\\B", "Teil", "k", "w"), Laufzeitfehler);
    EXPECT_THROW(host_->WriteText("App", "Teil]", "k", "w"), Laufzeitfehler);
}

TEST_F(EinstellungenTest, DeletingWhatIsThereAndWhatIsNot) {
    host_->WriteText("VORK", "KALDORIN", "Dir", "C:\\K");
    host_->WriteText("VORK", "KALDORIN", "BWS1", "x");
    host_->WriteText("VORK", "Anderes", "k", "y");
    host_->WriteText("VORK", "KALDORIN2", "k", "w");
    host_->WriteText("VORK", "KALDORIN\\Alt", "k", "v");
    host_->WriteText("Fremd", "S", "k", "z");

    host_->DeleteKey("vork", "kaldorin", "bws1");
    EXPECT_THROW(host_->DeleteKey("VORK", "Fehlt", "Dir"), Laufzeitfehler);

    // The removal's order: the section, then the whole application.
    // A section goes with the sections below it, never with one that only starts alike.
    host_->DeleteSection("VORK", "KALDORIN");
    EXPECT_EQ(host_->ReadText("VORK", "Anderes", "k"), "y");
    EXPECT_EQ(host_->ReadText("VORK", "KALDORIN2", "k"), "w");
    EXPECT_EQ(host_->ReadText("VORK", "KALDORIN\\Alt", "k"), "");
    host_->DeleteSection("VORK", "Anderes");
    host_->DeleteApplication("vork");  // still there without sections
    // A tree of sections goes whole, an absent one is no failure, and no empty
    // application stays behind.
    host_->WriteDword("Baum", "A\\B", "n", 4000000000u);
    host_->WriteText("Baum", "A\\B\\C", "k", "x");
    EXPECT_EQ(host_->ReadInt("baum", "a\\b", "N", 0), 4000000000);
    host_->DeleteSectionTree("baum", "a\\b");
    host_->DeleteSectionTree("Baum", "A\\B");
    EXPECT_EQ(host_->ReadText("Fremd", "S", "k"), "z");
    EXPECT_EQ(Lies(Ini()), "[Fremd\\S]\nk=z\n");
}

TEST_F(EinstellungenTest, OtherContentStaysAsItWas) {
    const std::string fremd =
        "\xEF\xBB\xBF; Kommentar\r\n[Fremd\\S]\r\nName = Wert mit = Zeichen\r\n\r\n"
        "# noch einer\n[VORK\\KALDORIN]\nBWS1=1\n\n[Z\\Z]\nk=v";
    Schreibe(Ini(), fremd);
    EXPECT_EQ(host_->ReadText("fremd", "s", "name"), "Wert mit = Zeichen");
    host_->WriteText("VORK", "KALDORIN", "Dir", "C:\\K");
    EXPECT_EQ(Lies(Ini()),
              "\xEF\xBB\xBF; Kommentar\r\n[Fremd\\S]\r\nName = Wert mit = Zeichen\r\n\r\n"
              "# noch einer\n[VORK\\KALDORIN]\nBWS1=1\nDir=C:\\K\n\n[Z\\Z]\nk=v\n");
}

TEST_F(EinstellungenTest, DamagedFileFailsEveryOperationAndStays) {
    const std::string kaputt[] = {
        "[VORK\\KALDORIN]\nDir\n",            // no "="
        "Dir=C:\\x\n[VORK\\KALDORIN]\n",      // value outside a section
        "[VORK\\KALDORIN\nDir=C:\\x\n",       // header not closed
        "[VORK\\KALDORIN]\nDir=C:\\\xFC\n",   // Latin-1, not UTF-8
        "[VORK\\KALDORIN]\nDir=\"offen\n",    // quote not closed
        std::string("[VORK\\KALDORIN]\nDir=a\0b\n", 24),
    };
    for (const auto& text : kaputt) {
        Schreibe(Ini(), text);
        SCOPED_TRACE(text);
        AllesScheitert();
        EXPECT_EQ(Lies(Ini()), text);
    }
}

TEST_F(EinstellungenTest, UnreadableFileFailsEveryOperation) {
    fs::create_directories(Ini());  // read by nobody, not even root
    AllesScheitert();
    EXPECT_TRUE(fs::is_directory(Ini()));
    fs::remove(Ini());
    if (geteuid() == 0) return;  // root reads a file without permissions
    Schreibe(Ini(), "[VORK\\KALDORIN]\nDir=C:\\x\n");
    chmod(Ini().c_str(), 0);
    AllesScheitert();
}

TEST_F(EinstellungenTest, TwoProcessesWritingLoseNothing) {
    constexpr int kJe = 40;
    host_->WriteText("VORK", "KALDORIN", "Dir", "C:\\K");
    pid_t kinder[2];
    for (int k = 0; k < 2; ++k) {
        if ((kinder[k] = fork()) != 0) continue;
        try {
            auto host = NeuerHost();
            for (int i = 0; i < kJe; ++i) host->WriteInt("VORK", std::to_string(k), std::to_string(i), i);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    for (pid_t kind : kinder) {
        int status = 0;
        ASSERT_EQ(waitpid(kind, &status, 0), kind);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < 2 * kJe; ++i)
        EXPECT_EQ(host_->ReadInt("vork", std::to_string(i / kJe), std::to_string(i % kJe), -1), i % kJe);
    EXPECT_EQ(host_->ReadText("VORK", "KALDORIN", "Dir"), "C:\\K");
}

}  // namespace
}  // namespace kaldorin::test
