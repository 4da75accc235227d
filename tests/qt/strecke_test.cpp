// The whole road on real widgets: the program installs from the demo medium and removes
// the installation again, clicked through by script, with a screenshot of every page.

#include <gtest/gtest.h>

#include <QDialog>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "startup/hauptprogramm.h"
#include "tests/qt/umgebung.h"

namespace kaldorin::test {
namespace {
namespace fs = std::filesystem;

const std::string kBisSeite1 =
    "answer 1\nanswer 1\n"  // close-applications prompt, font-size notice
    "click cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"
    "click cbo_Weiter\nclick cbo_Akzeptieren\n";

// Saves a screenshot of the whole screen at every wait and every dialog, named in
// order by `namen`.
class Fotograf : public QObject {
public:
    Fotograf(qt::QtUi& face, std::vector<std::string> namen) : namen_(std::move(namen)) {
        face.BeimWarten([this] {
            App().processEvents();  // let the windows paint before the picture
            Foto();
        });
        App().installEventFilter(this);
    }
    ~Fotograf() override { App().removeEventFilter(this); }
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show && qobject_cast<QDialog*>(objekt)) Foto();
        return false;
    }
    std::vector<std::string> gemacht;

private:
    // Not from inside a dialog's show: events processed there could answer it before
    // it waits.
    void Foto() {
        if (gemacht.size() >= namen_.size()) return;
        const std::string name = namen_[gemacht.size()];
        Bildschirm().save(QString::fromStdString(Bildordner() + "/" + name + ".png"));
        gemacht.push_back(name);
    }
    std::vector<std::string> namen_;
};

struct Strecke : ::testing::Test {
    static void SetUpTestSuite() {
        medium = new Ordner;
        const std::string befehl = std::string(KALDORIN_BIN_DIR) + "/kaldorin-pack demo " +
                                   medium->pfad + "/medium > /dev/null";
        ASSERT_EQ(std::system(befehl.c_str()), 0);
    }
    static void TearDownTestSuite() { delete medium; }
    static Ordner* medium;

    Ordner prefix;

    int Ausfuehren(const std::string& script, std::vector<std::string> fotos,
                   std::string* transcript = nullptr) {
        PosixHost::Fakten fakten;
        fakten.prefix = prefix.pfad;
        fakten.setupdir = medium->pfad + "/medium";
        PosixHost host(fakten);
        std::ostringstream aufzeichnung;
        qt::QtUi face({}, host, Script(ParseScript(script)), &aufzeichnung);
        Fotograf fotograf(face, std::move(fotos));
        const int code = face.Run([&] {
            Programm p(Laufzeit{face, host});
            face.BindHandlers(Ereignistabelle(p));
            Hauptprogramm(p);
        });
        if (transcript) *transcript = aufzeichnung.str();
        return code;
    }

    bool Installiert(const std::string& datei) const {
        return fs::exists(prefix.pfad + "/drive_c/Programme/KALDORIN/" + datei);
    }
};
Ordner* Strecke::medium = nullptr;

TEST_F(Strecke, OneInstallationClickedThroughAndRemovedAgain) {
    App();
    std::string transcript;
    const std::vector<std::string> installation = {
        "01_hinweis_anwendungen", "02_hinweis_schrift", "03_willkommen", "04_vertrag_1",
        "05_vertrag_2", "06_vertrag_3", "07_vertrag_4", "08_vertrag_5", "09_seite_1",
        "10_seite_2", "11_seite_3", "12_fertig"};
    ASSERT_EQ(Ausfuehren(kBisSeite1 + "click CMD_Weiter\nclick CMD_Weiter\nclick CMD_Weiter\n"
                         "answer 1\n", installation, &transcript), 0)
        << transcript;
    EXPECT_NE(transcript.find(R"("text":"KALDORIN-Edit wurde installiert.")"), std::string::npos);
    EXPECT_TRUE(Installiert("Help"));
    EXPECT_TRUE(fs::exists(prefix.pfad + "/settings.ini"));

    const std::vector<std::string> entfernung = {
        "13_hinweis_anwendungen", "14_hinweis_schrift", "15_willkommen", "16_vertrag_1",
        "17_vertrag_2", "18_vertrag_3", "19_vertrag_4", "20_vertrag_5", "21_seite_1_installiert",
        "22_entfernen", "23_entfernt", "24_nach_entfernen"};
    EXPECT_EQ(Ausfuehren(kBisSeite1 + "click CMD_Entfernen\nclick CMD_Weiter\nanswer 1\n"
                         "click CMD_Abbrechen\n", entfernung, &transcript), 0)
        << transcript;
    EXPECT_NE(transcript.find("KALDORIN-Edit wurde entfernt"), std::string::npos) << transcript;
    EXPECT_FALSE(Installiert("Help/KALDORIN.HLP"));
}

TEST_F(Strecke, DecliningTheAgreementEndsWithoutTheForm) {
    std::string transcript;
    EXPECT_EQ(Ausfuehren("answer 1\nanswer 1\nclick cbo_Ablehnen\n", {}, &transcript), 0);
    EXPECT_EQ(transcript.find("FRM_Installation"), std::string::npos);
    EXPECT_NE(transcript.find(R"({"op":"closed","window":"Win_1"})"), std::string::npos);
}

TEST_F(Strecke, TheSameScriptGivesTheHeadlessTranscript) {
    // The same road on the headless face: every line but the windows' places matches.
    const std::string script = kBisSeite1 + "dump\nclick CMD_Weiter\ndump\nclick CMD_Abbrechen\n";
    std::string qt;
    ASSERT_EQ(Ausfuehren(script, {}, &qt), 0);
    const std::string datei = prefix.pfad + "/script.txt";
    std::ofstream(datei) << script;
    const std::string befehl = std::string(KALDORIN_BIN_DIR) + "/kaldorin-setup --headless --script " +
                               datei + " --transcript " + prefix.pfad + "/h.jsonl --system screen=1280x1024 prefix=" +
                               prefix.pfad + "/h setupdir=" + medium->pfad + "/medium 2>/dev/null";
    ASSERT_EQ(std::system(befehl.c_str()), 0);
    std::ifstream h(prefix.pfad + "/h.jsonl");
    const std::string headless{std::istreambuf_iterator<char>(h), {}};
    // Window places differ by the frame the window system adds; compare the rest.
    auto ohneOrte = [](std::string s) {
        for (const char* feld : {"\"x\":", "\"y\":"}) {
            for (std::size_t pos = s.find(feld); pos != std::string::npos; pos = s.find(feld, pos + 1)) {
                std::size_t ende = s.find_first_of(",}", pos);
                s.replace(pos, ende - pos, std::string(feld) + "_");
            }
        }
        return s;
    };
    EXPECT_EQ(ohneOrte(qt), ohneOrte(headless));
}

}  // namespace
}  // namespace kaldorin::test
