// The whole road on real widgets: the program installs from the demo medium and removes
// the installation again, clicked through by script, with a screenshot of every page;
// every text fits its control.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

#include <cstdlib>
#include <regex>

#include "startup/hauptprogramm.h"
#include "tests/qt/umgebung.h"

namespace kaldorin::test {
namespace {

const std::string kBisSeite1 =
    "answer 1\nanswer 1\n"  // close-applications prompt, font-size notice
    "click cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"
    "click cbo_Weiter\nclick cbo_Akzeptieren\n";

// Saves a screenshot of the whole screen at every wait (NAME-NN-seite) and every dialog
// (NAME-NN-dialog); none without a name.
class Fotograf {
public:
    Fotograf(qt::QtUi& face, std::string name) : name_(std::move(name)) {
        // Lets the windows paint before the picture.
        face.OnWait([this] { App().processEvents(), Foto("seite"); });
    }

private:
    void Foto(const char* art) {
        if (name_.empty()) return;
        char nr[16];
        std::snprintf(nr, sizeof nr, "-%02d-", ++gemacht_);
        Bildschirm().save(QString::fromStdString(Bildordner() + "/" + name_ + nr + art + ".png"));
    }
    std::string name_;
    int gemacht_ = 0;
    // No processEvents() inside a dialog's show: events processed there could answer it
    // before it waits.
    DialogBeobachter dialoge_{[this](QDialog&) { Foto("dialog"); }};
};

// The label, check box and button texts of the face that stick out of their
// controls, measured in each control's own font against the room its style gives
// the text; hidden controls count too.
std::vector<std::string> Ueberstaende(const qt::QtUi& face, const std::string& wo) {
    std::vector<std::string> fehler;
    for (const auto& [handle, e] : face.Elements()) {
        QWidget* w = e.widget.data();
        if (!e.open || e.isWindow || !w) continue;
        const QFontMetrics fm(w->font());
        QString text;
        QRect platz = w->rect();
        int hoehe = fm.height(), breite = 0;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
            const QRect r = fm.boundingRect(QRect(0, 0, w->width(), 1 << 20), Qt::TextWordWrap, text);
            breite = r.width();
            hoehe = r.height() - fm.descent();  // the last line's baseline lies inside
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
            breite = fm.horizontalAdvance(text);
            QStyleOptionButton o;
            o.initFrom(b);
            const bool kasten = qobject_cast<QCheckBox*>(w) != nullptr;
            platz = w->style()->subElementRect(kasten ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                                               &o, w);
            if (kasten) platz.setHeight(w->height());
        }
        if (text.isEmpty() || (breite <= platz.width() && hoehe <= platz.height())) continue;
        fehler.push_back(wo + ": " + e.controlState.name + " \"" + text.toStdString() + "\" needs " + std::to_string(breite) + "x" +
                         std::to_string(hoehe) + ", has " + std::to_string(platz.width()) + "x" + std::to_string(platz.height()));
    }
    return fehler;
}

struct Strecke : ::testing::Test {
    static void SetUpTestSuite() {
        medium = new Ordner;
        const std::string befehl = std::string(KALDORIN_BIN_DIR) + "/kaldorin-pack demo " +
                                   medium->pfad + "/medium > /dev/null";
        gemacht = std::system(befehl.c_str()) == 0;
    }
    static void TearDownTestSuite() { delete medium; }
    // A failure here fails every test of the suite; one in SetUpTestSuite would only skip them.
    void SetUp() override { ASSERT_TRUE(gemacht) << "kaldorin-pack demo could not make the medium"; }
    static Ordner* medium;
    static bool gemacht;

    Ordner prefix;

    // With `ueberstaende`, every wait also measures every text (on a screen of
    // 1280 x 1024 of the program's pixels, whatever the scale).
    int Ausfuehren(const std::string& script, const std::string& fotos,
                   std::string* transcript = nullptr, std::vector<std::string>* ueberstaende = nullptr) {
        PosixHost::Fakten fakten;
        fakten.prefix = prefix.pfad;
        fakten.setupdir = medium->pfad + "/medium";
        PosixHost host(fakten);
        std::ostringstream aufzeichnung;
        FaceOptions optionen;
        if (ueberstaende) optionen.screenWidth = 1280, optionen.screenHeight = 1024;
        qt::QtUi face(optionen, host, Script(ParseScript(script)), &aufzeichnung);
        Fotograf fotograf(face, fotos);
        int warten = 0;
        if (ueberstaende)
            face.OnWait([&] {
                for (auto& f : Ueberstaende(face, "wait " + std::to_string(++warten))) ueberstaende->push_back(f);
            });
        const int code = face.Run([&] {
            Programm p(Laufzeit{face, host});
            face.BindHandlers(Ereignistabelle(p));
            Hauptprogramm(p);
        });
        if (transcript) *transcript = aufzeichnung.str();
        return code;
    }
};
Ordner* Strecke::medium = nullptr;
bool Strecke::gemacht = false;

// An installation, then its removal, each transcript the headless face's for the same
// script but for the windows' places (they differ by the frame the window system adds).
// Clicks on a greyed-out and on a hidden control are ignored alike; typing (blanks
// kept) and ticking reach the widgets the dump reads.
TEST_F(Strecke, InstallsAndRemovesAsTheHeadlessFaceDoes) {
    App();
    const std::string installation = kBisSeite1 + "click CMD_Zurück\nclick TB_Von\ndump\nclick CMD_Weiter\n"
                                     "type TB_Dir C:\\Programme\\Mit Blanks \ndump\nclick CMD_Weiter\n"
                                     "tick CB_Desk 0\ndump\nclick CMD_Weiter\nanswer 1\n";
    const std::string entfernung = kBisSeite1 + "click CMD_Entfernen\ntick CB_Rem_FP 1\ntick CB_Rem_GP 1\n"
                                   "tick CB_Rem_DB 1\ntick CB_Rem_PI 1\ntick CB_Rem_SO 1\nclick CMD_Weiter\n"
                                   "answer 1\nclick CMD_Abbrechen\n";
    const std::regex ort(R"re("([xy])":[^,}]*)re");
    for (const auto& [script, name, ende] : {std::tuple{installation, "installation", "KALDORIN-Edit wurde installiert."},
                                             std::tuple{entfernung, "entfernung", "KALDORIN-Edit wurde entfernt"}}) {
        std::string qt;
        ASSERT_EQ(Ausfuehren(script, name, &qt), 0) << qt;
        EXPECT_NE(qt.find(ende), std::string::npos) << qt;
        const std::string datei = prefix.pfad + "/" + name + ".txt";
        Schreibe(datei, script);
        const std::string befehl = std::string(KALDORIN_BIN_DIR) + "/kaldorin-setup --headless --script " + datei +
                                   " --transcript " + prefix.pfad + "/h.jsonl --system screen=1280x1024 prefix=" +
                                   prefix.pfad + "/h setupdir=" + medium->pfad + "/medium 2>/dev/null";
        ASSERT_EQ(std::system(befehl.c_str()), 0);
        const std::string headless = Lies(prefix.pfad + "/h.jsonl");
        EXPECT_EQ(std::regex_replace(qt, ort, R"("$1":_)"), std::regex_replace(headless, ort, R"("$1":_)"));
        // The removal leaves neither the folder nor the entry in the list of installed programs.
        EXPECT_EQ(fs::exists(prefix.pfad + "/drive_c/Programme/KALDORIN"), script == installation);
        EXPECT_EQ(Lies(prefix.pfad + "/settings.ini").find("Uninstall\\KALDORIN-Edit]") != std::string::npos,
                  script == installation);
    }
}

// Every page from the welcome page to the options, at the scale ctest gives
// (QT_SCALE_FACTOR 1, 1.25, 1.5, 2), on the fonts make.sh installs, and once more on a
// system without the metric-compatible fonts: there the program's fonts fall back to a
// wider one, and a text that would be cut is drawn smaller instead.
TEST_F(Strecke, EveryTextFitsItsControl) {
    App();
    std::vector<bool> faelle = {false};
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR") && QFontDatabase::families().contains("DejaVu Sans"))
        faelle.push_back(true);
    for (const bool ersetzt : faelle) {
        // The face adds its own substitutes behind these.
        for (const char* name : {"MS Sans Serif", "Arial"})
            if (ersetzt) QFont::removeSubstitutions(name), QFont::insertSubstitution(name, "DejaVu Sans");
        EXPECT_TRUE(!ersetzt || QFontInfo(QFont("MS Sans Serif")).family() == "DejaVu Sans");
        std::vector<std::string> fehler;
        std::string transcript;
        EXPECT_EQ(Ausfuehren(kBisSeite1 + "click CMD_Weiter\nclick CMD_Weiter\nclick CMD_Abbrechen\n", "", &transcript,
                             &fehler), 0)
            << transcript;
        for (const char* name : {"MS Sans Serif", "Arial"})
            if (ersetzt) QFont::removeSubstitutions(name);
        EXPECT_THAT(fehler, ::testing::IsEmpty())
            << "scale " << qgetenv("QT_SCALE_FACTOR").toStdString() << (ersetzt ? " on DejaVu Sans" : "");
    }
}

}  // namespace
}  // namespace kaldorin::test
