// The Qt face on real widgets under the offscreen platform: windows and the kept
// gradient, control positions and states, output surfaces, dialogs answered through
// their buttons, the event step and the script's faults.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <functional>

#include "programm/programm.h"
#include "startup/start.h"
#include "tests/qt/umgebung.h"

namespace kaldorin::test {
namespace {

// Calls `bei` with every dialog the moment it is shown, before it is answered.
class DialogBeobachter : public QObject {
public:
    explicit DialogBeobachter(std::function<void(QDialog&)> bei) : bei_(std::move(bei)) {
        App().installEventFilter(this);
    }
    ~DialogBeobachter() override { App().removeEventFilter(this); }
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show)
            if (auto* d = qobject_cast<QDialog*>(objekt)) bei_(*d);
        return false;
    }

private:
    std::function<void(QDialog&)> bei_;
};

QRgb Pixel(const QImage& bild, int x, int y) { return bild.pixel(x, y) & 0xFFFFFF; }

int Zaehlen(const QImage& bild, QRect bereich, QRgb farbe) {
    int n = 0;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x)
            n += Pixel(bild, x, y) == (farbe & 0xFFFFFF);
    return n;
}

// --- The background window ------------------------------------------------------------

TEST(QtHintergrund, CoversTheScreenAndKeepsTheGradientAndTheShadowedTitle) {
    QtFaceTest t;
    Programm p(Laufzeit{t.face, t.host});
    p.Win_1 = t.face.OpenWindow(1, t.face.ScreenWidth(), t.face.ScreenHeight(), 0);
    Hintergrund_Malen(p);
    Titel_Erstellen(p);
    QWidget* w1 = t.Widget("Win_1");
    EXPECT_EQ(w1->geometry(), QGuiApplication::primaryScreen()->geometry());

    // Repainting (a grab paints anew) shows the same gradient every time.
    for (int mal = 0; mal < 2; ++mal) {
        w1->update();
        App().processEvents();
        const QImage bild = w1->grab().toImage();
        EXPECT_EQ(Pixel(bild, 1200, 0), qRgb(160, 160, 255) & 0xFFFFFF);
        EXPECT_EQ(Pixel(bild, 1200, 320), qRgb(0, 0, 255) & 0xFFFFFF);
        EXPECT_EQ(Pixel(bild, 1200, 321), qRgb(0, 0, 255) & 0xFFFFFF);
        EXPECT_EQ(Pixel(bild, 1200, 830), qRgb(0, 0, 0) & 0xFFFFFF);
        // The white title with its black shadow to the lower right.
        const QRect titel(50, 50, 1000, 107);
        EXPECT_GT(Zaehlen(bild, titel, qRgb(255, 255, 255)), 2000);
        EXPECT_GT(Zaehlen(bild, titel, qRgb(0, 0, 0)), 500);
        if (mal == 1) bild.save(QString::fromStdString(Bildordner() + "/00_hintergrund.png"));
    }
}

TEST(QtHintergrund, FewColoursGivePlainBlue) {
    FaceOptions o;
    o.colours = 256;
    QtFaceTest t("", o);
    Programm p(Laufzeit{t.face, t.host});
    p.Win_1 = t.face.OpenWindow(1, t.face.ScreenWidth(), t.face.ScreenHeight(), 0);
    Hintergrund_Malen(p);
    const QImage bild = t.Widget("Win_1")->grab().toImage();
    EXPECT_EQ(Pixel(bild, 600, 0), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_EQ(Pixel(bild, 600, 900), qRgb(0, 0, 255) & 0xFFFFFF);
}

TEST(QtBildschirm, FactsComeFromTheScreenUnlessGiven) {
    QtFaceTest echt;
    EXPECT_EQ(echt.face.ScreenWidth(), 1280);
    EXPECT_EQ(echt.face.ScreenHeight(), 1024);
    EXPECT_EQ(echt.face.ScreenWidthTwips(), 1280 * 15);  // 96 dpi
    EXPECT_EQ(echt.face.Colours(), 16777216);

    FaceOptions o;
    o.screenWidth = 799;
    o.screenHeight = 600;
    o.twips = 12;
    o.colours = 65536;
    QtFaceTest gegeben("", o);
    EXPECT_EQ(gegeben.face.ScreenWidth(), 799);
    EXPECT_EQ(gegeben.face.ScreenHeightTwips(), 600 * 12);
    EXPECT_EQ(gegeben.face.Colours(), 65536);
}

// --- The form and its controls -----------------------------------------------------------

TEST(QtFormular, ControlsStandWhereTheDescriptionPutsThem) {
    QtFaceTest t;
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    EXPECT_EQ(t.Widget("FRM_Installation")->size(), QSize(382, 240));
    EXPECT_EQ(t.face.Text(form), "KALDORIN-Edit Setup");
    EXPECT_EQ(t.Widget("CMD_Weiter")->geometry(), QRect(214, 206, 72, 24));
    EXPECT_EQ(t.Widget("IMG_Bild")->geometry(), QRect(8, 8, 96, 180));
    EXPECT_FALSE(t.Widget("CMD_Zurück")->isEnabled());
    EXPECT_FALSE(t.face.Available(t.face.FindControl("CMD_Zurück")));
    EXPECT_TRUE(t.Widget("CMD_Weiter")->isEnabled());
    EXPECT_TRUE(t.Widget("LB_1")->font().bold());
    EXPECT_EQ(t.Widget("LB_1")->font().pointSize(), 12);
    EXPECT_THROW(t.face.LoadForm(":{FRM_Installation"), Laufzeitfehler);
    EXPECT_THROW(t.face.FindControl("CMD_Nichts"), Laufzeitfehler);
}

TEST(QtFormular, HiddenMeansOutOfViewAndNotAvailableMeansGreyedOut) {
    QtFaceTest t;
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    const Handle tb = t.face.CreateControl(form, Art::TextBox, "TB_Dir", "", -1000, -1000, 180, 20);
    EXPECT_EQ(t.Widget("TB_Dir")->geometry(), QRect(-1000, -1000, 180, 20));
    t.face.Move(tb, 118, 150);
    EXPECT_EQ(t.Widget("TB_Dir")->geometry(), QRect(118, 150, 180, 20));

    const Handle weiter = t.face.FindControl("CMD_Weiter");
    t.face.SetAvailable(weiter, false);
    EXPECT_FALSE(t.Widget("CMD_Weiter")->isEnabled());
    t.face.SetAvailable(weiter, true);
    EXPECT_TRUE(t.face.Available(weiter));
}

TEST(QtFormular, PropertiesReachTheWidgets) {
    QtFaceTest t;
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    const Handle kasten = t.face.CreateControl(form, Art::CheckBox, "CB_Desk",
                                               "Eintrag im Desktop erstellen", 140, 100, 200, 18);
    t.face.SetTicked(kasten, true);
    EXPECT_TRUE(static_cast<QCheckBox*>(t.Widget("CB_Desk"))->isChecked());
    t.face.SetToolTip(kasten, "Über das Desktop");
    EXPECT_EQ(t.Widget("CB_Desk")->toolTip(), QString::fromUtf8("Über das Desktop"));
    EXPECT_EQ(t.face.Text(kasten), "Eintrag im Desktop erstellen");

    const Handle balken = t.face.CreateControl(form, Art::ProgressBar, "PB", "", 0, 0, 230, 16);
    t.face.SetProgressMax(balken, 11);
    t.face.SetProgress(balken, 11);
    EXPECT_THROW(t.face.SetProgress(balken, 12), Laufzeitfehler);
    EXPECT_THROW(t.face.SetProgress(balken, -1), Laufzeitfehler);
    EXPECT_THROW(t.face.SetTicked(balken, true), Laufzeitfehler) << "wrong kind";

    t.face.SetPicture(t.face.FindControl("IMG_Bild"), ":setup");
    EXPECT_EQ(static_cast<QLabel*>(t.Widget("IMG_Bild"))->pixmap().size(), QSize(96, 180));
    t.face.SetIcon(form, ":VORK2");
    EXPECT_FALSE(t.Widget("FRM_Installation")->windowIcon().isNull());
    EXPECT_THROW(t.face.SetPicture(t.face.FindControl("IMG_Bild"), ":{FRM_Installation"),
                 Laufzeitfehler)
        << "not a picture";
}

// --- Output surfaces -----------------------------------------------------------------------

// Rows of `bild` that hold a pixel of `farbe`, as [first, last]; (-1, -1) when none.
std::pair<int, int> Zeilen(const QImage& bild, QRgb farbe) {
    int erste = -1, letzte = -1;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (Pixel(bild, x, y) == (farbe & 0xFFFFFF)) {
                if (erste < 0) erste = y;
                letzte = y;
                break;
            }
    return {erste, letzte};
}

TEST(QtAusgabe, PrintedTextIsKeptAndClearedPageByPage) {
    QtFaceTest t;
    const Handle w1 = t.face.OpenWindow(1, 1280, 1024, 0);
    const Handle w3 = t.face.OpenWindow(3, 500, 400, w1);
    const Handle tb1 = t.face.CreateControl(w3, Art::TextArea, "tb1", "", 10, 70, 474, 252);
    t.face.SetBackColour(tb1, RGB(208, 208, 208));
    t.face.SelectOutput(tb1);
    t.face.ClearOutput();
    t.face.SetForeColour(RGB(255, 0, 0));
    t.face.SetPrintPosition(1, 3);
    t.face.SetOutputBold(true);
    t.face.PrintLine("Lizenzvertrag äöü");

    QWidget* flaeche = t.Widget("tb1");
    flaeche->update();
    App().processEvents();
    const auto [erste, letzte] = Zeilen(flaeche->grab().toImage(), qRgb(255, 0, 0));
    const int zeile = 13;  // 8 pt at 96 dpi
    EXPECT_GE(erste, 2 * zeile) << "line 3 starts below two lines";
    EXPECT_LT(letzte, 4 * zeile);

    // Pieces of a line continue where the last one ended; the next line goes below.
    t.face.SetForeColour(RGB(0, 0, 255));
    t.face.PrintItem("Wort ");
    t.face.PrintLine("weiter");
    const QImage bild = flaeche->grab().toImage();
    EXPECT_GT(Zeilen(bild, qRgb(0, 0, 255)).first, letzte);

    t.face.ClearOutput();
    const QImage leer = flaeche->grab().toImage();
    EXPECT_EQ(Zeilen(leer, qRgb(255, 0, 0)).first, -1);
    EXPECT_EQ(Pixel(leer, 5, 5), qRgb(208, 208, 208) & 0xFFFFFF);
    EXPECT_THROW(t.face.SetPrintPosition(0, 1), Laufzeitfehler);
}

TEST(QtAusgabe, OutputNeedsASurface) {
    QtFaceTest t;
    EXPECT_THROW(t.face.PrintLine("x"), Laufzeitfehler);
    const Handle w1 = t.face.OpenWindow(1, 1280, 1024, 0);
    const Handle knopf = t.face.CreateControl(w1, Art::Button, "B", "b", 0, 0, 10, 10);
    EXPECT_THROW(t.face.SelectOutput(knopf), Laufzeitfehler);
    t.face.SelectOutput(w1);
    t.face.CloseWindow(w1);
    EXPECT_THROW(t.face.PrintLine("x"), Laufzeitfehler) << "the surface closed";
}

// --- Dialogs -----------------------------------------------------------------------------

TEST(QtDialog, AlertShowsLabelsAsGivenAndIsAnsweredByItsButton) {
    QtFaceTest t("answer 2\n");
    QStringList knoepfe, standard;
    QString text;
    bool symbol = false;
    DialogBeobachter beobachter([&](QDialog& d) {
        for (auto* b : d.findChildren<QPushButton*>()) {
            knoepfe << b->text();
            if (b->isDefault()) standard << b->text();
        }
        for (auto* l : d.findChildren<QLabel*>()) {
            if (!l->pixmap().isNull()) symbol = true;
            else text = l->text();
        }
    });
    const int antwort = t.face.Alert(19, "Zeile eins|zwei||nach Leerzeile", 2,
                                     "  installieren  |   abbrechen   ");
    EXPECT_EQ(antwort, 2);
    EXPECT_EQ(knoepfe, QStringList({"  installieren  ", "   abbrechen   "}));
    EXPECT_EQ(standard, QStringList({"   abbrechen   "}));
    EXPECT_EQ(text, "Zeile eins\nzwei\n\nnach Leerzeile");
    EXPECT_TRUE(symbol) << "style 19 shows the warning sign";
    EXPECT_NE(t.transcript.str().find(R"("answer":2)"), std::string::npos);
}

TEST(QtDialog, MessageBreaksLinesAndShowsTheStopSign) {
    QtFaceTest t("answer 1\n");
    QString text, titel;
    QMessageBox::Icon symbol = QMessageBox::NoIcon;
    DialogBeobachter beobachter([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        ASSERT_NE(box, nullptr);
        text = box->text();
        titel = box->windowTitle();
        symbol = box->icon();
    });
    t.face.Message("Das Verzeichnis:\r\rC:\\x\r\nist\nda", "Setup", 16);
    EXPECT_EQ(text, "Das Verzeichnis:\n\nC:\\x\nist\nda");
    EXPECT_EQ(titel, "Setup");
    EXPECT_EQ(symbol, QMessageBox::Critical);
}

TEST(QtDialog, FolderChooserPreselectsTheStartAndReturnsAWindowsPath) {
    Ordner daten;
    std::filesystem::create_directories(daten.pfad + "/Quelle");
    std::filesystem::create_directories(daten.pfad + "/Ziel");
    QtFaceTest t("folder " + daten.pfad + "/Ziel\nfolder\n");
    QStringList vorgewaehlt;
    DialogBeobachter beobachter([&](QDialog& d) {
        if (auto* f = qobject_cast<QFileDialog*>(&d)) vorgewaehlt << f->selectedFiles();
    });
    const std::string start = t.host.WindowsPath(daten.pfad + "/Quelle") + "\\";
    const std::string gewaehlt = t.face.BrowseForFolder(0, 1, "Ziel suchen", start);
    EXPECT_EQ(gewaehlt, t.host.WindowsPath(daten.pfad + "/Ziel") + "\\");
    ASSERT_FALSE(vorgewaehlt.isEmpty());
    EXPECT_EQ(vorgewaehlt.front().toStdString(), daten.pfad + "/Quelle");
    EXPECT_EQ(t.face.BrowseForFolder(0, 1, "Ziel suchen", start), "") << "cancelled";
}

// The default target does not exist before page 3: the dialog opens at the nearest
// folder above it that exists, as on every face.
TEST(QtDialog, FolderChooserOpensAtTheNearestFolderThatExists) {
    Ordner daten;
    std::filesystem::create_directories(daten.pfad + "/Programme");
    QtFaceTest t("folder\n");
    QStringList vorgewaehlt;
    DialogBeobachter beobachter([&](QDialog& d) {
        if (auto* f = qobject_cast<QFileDialog*>(&d)) vorgewaehlt << f->selectedFiles();
    });
    const std::string start = t.host.WindowsPath(daten.pfad + "/Programme") + "\\KALDORIN\\Neu";
    EXPECT_EQ(t.face.BrowseForFolder(0, 1, "Ziel suchen", start), "");
    ASSERT_FALSE(vorgewaehlt.isEmpty());
    EXPECT_EQ(vorgewaehlt.front().toStdString(), daten.pfad + "/Programme");
}

TEST(QtDialog, AWrongOrMissingAnswerEndsTheRun) {
    {
        QtFaceTest t("click CMD_Weiter\n");
        EXPECT_EQ(t.face.Run([&] { t.face.Alert(19, "x", 1, "a|b"); }), 2);
        EXPECT_NE(t.transcript.str().find(R"("op":"error")"), std::string::npos);
    }
    {
        QtFaceTest t("answer 1\n");
        EXPECT_EQ(t.face.Run([&] {
            t.face.Message("a", "", 0);
            t.face.Message("b", "", 0);
        }), 3);
    }
}

// --- Events --------------------------------------------------------------------------------

struct Ereignisse {
    std::vector<std::string> gelaufen;
    HandlerTable tabelle(std::initializer_list<const char*> namen) {
        HandlerTable t;
        for (const char* n : namen) t[n] = [this, n] { gelaufen.push_back(n); };
        return t;
    }
};

TEST(QtEreignis, ClicksAndClosesReachTheirHandlersAndWindowsStayOpen) {
    QtFaceTest t("click CMD_Weiter\nclose FRM_Installation\nclose Win_1\n");
    Ereignisse e;
    t.face.BindHandlers(e.tabelle({"CMD_Weiter_Click", "FRM_Installation_Close", "Win_1_Close"}));
    t.face.OpenWindow(1, 1280, 1024, 0);
    t.face.LoadForm(":{FRM_Installation");
    t.face.EventStep();
    t.face.EventStep();
    t.face.EventStep();
    EXPECT_EQ(e.gelaufen, (std::vector<std::string>{"CMD_Weiter_Click", "FRM_Installation_Close",
                                                    "Win_1_Close"}));
    EXPECT_TRUE(t.Widget("Win_1")->isVisible()) << "the program decides whether it closes";
    EXPECT_TRUE(t.Widget("FRM_Installation")->isVisible());
}

TEST(QtEreignis, UnreachableControlsIgnoreClicks) {
    QtFaceTest t("click CMD_Zurück\nclick TB_Von\nclick CMD_Weiter\n");
    Ereignisse e;
    t.face.BindHandlers(e.tabelle({"CMD_Zurück_Click", "TB_Von_Click", "CMD_Weiter_Click"}));
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    t.face.CreateControl(form, Art::TextBox, "TB_Von", "", -1000, -1000, 180, 20);
    t.face.EventStep();
    EXPECT_EQ(e.gelaufen, std::vector<std::string>{"CMD_Weiter_Click"});
    const std::string tr = t.transcript.str();
    EXPECT_NE(tr.find(R"({"op":"click","control":"CMD_Zurück","ignored":"not available"})"),
              std::string::npos) << tr;
    EXPECT_NE(tr.find(R"({"op":"click","control":"TB_Von","ignored":"out of view"})"),
              std::string::npos) << tr;
}

TEST(QtEreignis, AStepInsideAHandlerRunsWhatIsPendingAndNeverWaits) {
    QtFaceTest t("click CMD_Weiter\n");
    std::vector<std::string> gelaufen;
    HandlerTable tabelle;
    tabelle["CMD_Weiter_Click"] = [&] {
        t.face.EventStep();  // nothing pending: returns at once
        t.face.Melden("CMD_Abbrechen_Click");
        t.face.EventStep();  // a cancel pressed meanwhile runs here
        gelaufen.push_back("weiter");
    };
    tabelle["CMD_Abbrechen_Click"] = [&] { gelaufen.push_back("abbrechen"); };
    t.face.BindHandlers(tabelle);
    t.face.LoadForm(":{FRM_Installation");
    t.face.EventStep();
    EXPECT_EQ(gelaufen, (std::vector<std::string>{"abbrechen", "weiter"}));
}

TEST(QtEreignis, ClosedWindowsAreDeletedByTheNextStep) {
    QtFaceTest t("dump\nclick CMD_Weiter\n");
    t.face.BindHandlers({{"CMD_Weiter_Click", [] {}}});
    const Handle w1 = t.face.OpenWindow(1, 1280, 1024, 0);
    const Handle w3 = t.face.OpenWindow(3, 500, 400, w1);
    t.face.LoadForm(":{FRM_Installation");
    QPointer<QWidget> fenster = t.Widget("Win_3");
    t.face.CloseWindow(w3);
    EXPECT_FALSE(fenster.isNull()) << "deleted later, at a safe point";
    EXPECT_THROW(t.face.CloseWindow(w3), Laufzeitfehler) << "already closed";
    t.face.EventStep();
    EXPECT_TRUE(fenster.isNull());
    EXPECT_NE(t.transcript.str().find(R"({"op":"closed","window":"Win_3"})"), std::string::npos);
}

TEST(QtEreignis, ScriptFaultsAndItsEndStopTheRun) {
    {
        QtFaceTest t("answer 1\n");
        EXPECT_EQ(t.face.Run([&] { t.face.EventStep(); }), 2) << "no dialog is open";
    }
    {
        QtFaceTest t("dump\n");
        EXPECT_EQ(t.face.Run([&] {
            for (;;) t.face.EventStep();
        }), 3);
        EXPECT_NE(t.transcript.str().find(R"({"op":"end","code":3})"), std::string::npos);
    }
}

TEST(QtEreignis, TypingAndTickingChangeTheWidgets) {
    QtFaceTest t("type TB_Dir D:\\Daten mit Blanks \ntick CB_Desk 0\nclick CMD_Weiter\n");
    t.face.BindHandlers({{"CMD_Weiter_Click", [] {}}});
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    const Handle tb = t.face.CreateControl(form, Art::TextBox, "TB_Dir", "C:\\x", 118, 150, 180, 20);
    const Handle cb = t.face.CreateControl(form, Art::CheckBox, "CB_Desk", "d", 140, 100, 200, 18);
    t.face.SetTicked(cb, true);
    t.face.EventStep();
    EXPECT_EQ(t.face.Text(tb), "D:\\Daten mit Blanks ");
    EXPECT_FALSE(t.face.Ticked(cb));
}

}  // namespace
}  // namespace kaldorin::test
