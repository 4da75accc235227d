// The Qt face on real widgets under the offscreen platform: the rules of every face
// (tests/face_regeln.h) and where only it can go wrong: the kept gradient, fonts,
// pictures, output surfaces, dialogs answered through their buttons and windows closed
// at the next event step. The script's faults and end are the shared core's, tested on
// the headless face. What a dump shows (texts, places,
// states) the whole-road test compares with the headless face.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "programm/programm.h"
#include "startup/start.h"
#include "tests/face_regeln.h"
#include "tests/qt/umgebung.h"

namespace kaldorin::test {
namespace {

QRgb Pixel(const QImage& bild, int x, int y) { return bild.pixel(x, y) & 0xFFFFFF; }

int Zaehlen(const QImage& bild, QRect bereich, QRgb farbe) {
    int n = 0;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x) n += Pixel(bild, x, y) == (farbe & 0xFFFFFF);
    return n;
}

// --- The background window -----------------------------------------------------------------

// The screen's facts come from the screen (1280 x 1024 at 96 dpi in true colour) unless
// given; the background covers it with a gradient, or plain blue on few colours.
TEST(QtHintergrund, CoversTheScreenWithTheGradientAndTheShadowedTitle) {
    FaceOptions gegeben;
    gegeben.screenWidth = 1279, gegeben.twips = 12, gegeben.colours = 256;
    for (const FaceOptions& o : {FaceOptions{}, gegeben}) {
        QtFaceTest t("", o);
        const bool verlauf = !o.colours;
        EXPECT_EQ(t.face.ScreenWidth(), verlauf ? 1280 : 1279);
        EXPECT_EQ(t.face.ScreenHeightTwips(), 1024 * (verlauf ? 15 : 12));
        EXPECT_EQ(t.face.Colours(), verlauf ? 16777216 : 256);
        Programm p(Laufzeit{t.face, t.host});
        p.Win_1 = t.face.OpenWindow(1, t.face.ScreenWidth(), t.face.ScreenHeight(), 0);
        Hintergrund_Malen(p);
        Titel_Erstellen(p);
        QWidget* w1 = t.Widget("Win_1");
        EXPECT_EQ(w1->size(), QSize(t.face.ScreenWidth(), 1024));
        EXPECT_TRUE(!verlauf || w1->geometry().topLeft() == QPoint(0, 0)) << "covers the screen";
        // Repainting (a grab paints anew) shows the same background every time.
        for (int mal = 0; mal < 2; ++mal) {
            const QImage bild = w1->grab().toImage();
            EXPECT_EQ(Pixel(bild, 1200, 0), verlauf ? qRgb(160, 160, 255) & 0xFFFFFF : 0xFF);
            EXPECT_EQ(Pixel(bild, 1200, 321), 0xFFu);
            EXPECT_EQ(Pixel(bild, 1200, 830), verlauf ? 0u : 0xFFu);
            // The white title with its black shadow to the lower right.
            const QRect titel(50, 50, 1000, 107);
            EXPECT_GT(Zaehlen(bild, titel, qRgb(255, 255, 255)), 2000);
            EXPECT_GT(Zaehlen(bild, titel, qRgb(0, 0, 0)), 500);
            if (verlauf) bild.save(QString::fromStdString(Bildordner() + "/00_hintergrund.png"));
        }
    }
}

// --- The form and its controls -----------------------------------------------------------

TEST(QtFormular, FontsPicturesAndTipsReachTheWidgetsAndTheRulesOfEveryFaceHold) {
    QtFaceTest t;
    const Handle form = t.face.LoadForm(":{FRM_Installation");
    EXPECT_TRUE(t.Widget("LB_1")->font().bold());
    EXPECT_EQ(t.Widget("LB_1")->font().pointSize(), 12);
    const Handle kasten = t.face.CreateControl(form, Art::CheckBox, "CB_Desk", "d", 140, 100, 200, 18);
    t.face.SetToolTip(kasten, "Über das Desktop");
    EXPECT_EQ(t.Widget("CB_Desk")->toolTip(), QString::fromUtf8("Über das Desktop"));
    const Handle bild = t.face.FindControl("IMG_Bild");
    t.face.SetPicture(bild, ":setup");
    EXPECT_EQ(static_cast<QLabel*>(t.Widget("IMG_Bild"))->pixmap().size(), QSize(96, 180));
    t.face.SetIcon(form, ":VORK2");
    EXPECT_FALSE(t.Widget("FRM_Installation")->windowIcon().isNull());

    EXPECT_THROW(t.face.SetPicture(bild, ":{FRM_Installation"), Laufzeitfehler);
    QtFaceTest leer;
    FaceRegelnPruefen(leer.face);
}

// --- Output surfaces -----------------------------------------------------------------------

// Rows of `bild` that hold a pixel of `farbe`, as [first, last]; (-1, -1) when none.
std::pair<int, int> Zeilen(const QImage& bild, QRgb farbe) {
    int erste = -1, letzte = -1;
    for (int y = 0; y < bild.height(); ++y)
        if (Zaehlen(bild, QRect(0, y, bild.width(), 1), farbe) > 0) erste = erste < 0 ? y : erste, letzte = y;
    return {erste, letzte};
}

TEST(QtAusgabe, PrintedTextIsKeptAndClearedPageByPage) {
    QtFaceTest t;
    const Handle w1 = t.face.OpenWindow(1, 1280, 1024, 0);
    const Handle tb1 = t.face.CreateControl(w1, Art::TextArea, "tb1", "", 10, 70, 474, 252);
    t.face.SetBackColour(tb1, RGB(208, 208, 208));
    t.face.SelectOutput(tb1);
    t.face.SetForeColour(RGB(255, 0, 0));
    t.face.SetPrintPosition(1, 3);
    t.face.SetOutputBold(true);
    t.face.PrintLine("Lizenzvertrag äöü");
    QWidget* flaeche = t.Widget("tb1");
    const auto [erste, letzte] = Zeilen(flaeche->grab().toImage(), qRgb(255, 0, 0));
    const int zeile = 13;  // 8 pt at 96 dpi
    EXPECT_GE(erste, 2 * zeile) << "line 3 starts below two lines";
    EXPECT_LT(letzte, 4 * zeile);
    // Pieces of a line continue where the last one ended; the next line goes below.
    t.face.SetForeColour(RGB(0, 0, 255));
    t.face.PrintItem("Wort ");
    t.face.PrintLine("weiter");
    EXPECT_GT(Zeilen(flaeche->grab().toImage(), qRgb(0, 0, 255)).first, letzte);
    t.face.ClearOutput();
    const QImage leer = flaeche->grab().toImage();
    EXPECT_EQ(Zeilen(leer, qRgb(255, 0, 0)).first, -1);
    EXPECT_EQ(Pixel(leer, 5, 5), qRgb(208, 208, 208) & 0xFFFFFF);
}

// --- Dialogs -----------------------------------------------------------------------------

TEST(QtDialog, AlertAndMessageShowTheirTextSignsAndButtonsAndAreAnsweredByAButton) {
    QtFaceTest t("answer 2\nanswer 1\n");
    QStringList knoepfe, standard;
    QString text, titel;
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
        if (auto* box = qobject_cast<QMessageBox*>(&d)) {
            text = box->text();
            titel = box->windowTitle();
            symbol = box->icon() == QMessageBox::Critical;
        }
    });
    EXPECT_EQ(t.face.Alert(19, "Zeile eins|zwei||nach Leerzeile", 2, "  installieren  |   abbrechen   "), 2);
    EXPECT_EQ(knoepfe, QStringList({"  installieren  ", "   abbrechen   "}));
    EXPECT_EQ(standard, QStringList({"   abbrechen   "}));
    EXPECT_EQ(text, "Zeile eins\nzwei\n\nnach Leerzeile");
    EXPECT_TRUE(symbol) << "style 19 shows the warning sign";
    symbol = false;
    t.face.Message("Das Verzeichnis:\r\rC:\\x\r\nist\nda", "Setup", 16);
    EXPECT_EQ(text, "Das Verzeichnis:\n\nC:\\x\nist\nda");
    EXPECT_EQ(titel, "Setup");
    EXPECT_TRUE(symbol) << "style 16 shows the stop sign";
}

// A start that does not exist yet (the default target before page 3) opens the
// dialog at the nearest folder above it that exists, as on every face.
TEST(QtDialog, FolderChooserPreselectsTheStartAndReturnsAWindowsPath) {
    Ordner daten;
    std::filesystem::create_directories(daten.pfad + "/Quelle");
    std::filesystem::create_directories(daten.pfad + "/Ziel");
    QtFaceTest t("folder " + daten.pfad + "/Ziel\nfolder\n");
    QStringList vorgewaehlt;
    DialogBeobachter beobachter([&](QDialog& d) {
        if (auto* f = qobject_cast<QFileDialog*>(&d)) vorgewaehlt << f->selectedFiles().value(0);
    });
    const std::string quelle = t.host.WindowsPath(daten.pfad + "/Quelle");
    EXPECT_EQ(t.face.BrowseForFolder(0, 1, "Ziel", quelle + "\\"), t.host.WindowsPath(daten.pfad + "/Ziel") + "\\");
    EXPECT_EQ(t.face.BrowseForFolder(0, 1, "Ziel", quelle + "\\KALDORIN\\Neu"), "") << "cancelled";
    const QString q = QString::fromStdString(daten.pfad + "/Quelle");
    EXPECT_EQ(vorgewaehlt, QStringList({q, q}));
}

// --- Events --------------------------------------------------------------------------------

// Closes reach their handlers and the program decides; a closed window goes at the
// next step; a step inside a handler runs what is pending and never waits.
TEST(QtEreignis, ClosesAndClicksReachTheirHandlersAndWindowsGoAtTheNextStep) {
    QtFaceTest t("close FRM_Installation\nclose Win_1\ndump\nclick CMD_Weiter\n");
    std::vector<std::string> gelaufen;
    HandlerTable tabelle;
    for (const char* n : {"CMD_Abbrechen_Click", "FRM_Installation_Close", "Win_1_Close"})
        tabelle[n] = [&gelaufen, n] { gelaufen.push_back(n); };
    tabelle["CMD_Weiter_Click"] = [&] {
        t.face.EventStep();  // nothing pending: returns at once
        t.face.Queue("CMD_Abbrechen_Click");
        t.face.EventStep();  // a cancel pressed meanwhile runs here
        gelaufen.push_back("weiter");
    };
    t.face.BindHandlers(tabelle);
    const Handle w3 = t.face.OpenWindow(3, 500, 400, t.face.OpenWindow(1, 1280, 1024, 0));
    t.face.LoadForm(":{FRM_Installation");
    for (int i = 0; i < 2; ++i) t.face.EventStep();
    EXPECT_EQ(gelaufen, std::vector<std::string>({"FRM_Installation_Close", "Win_1_Close"}));
    EXPECT_TRUE(t.Widget("Win_1")->isVisible()) << "the program decides whether it closes";
    QPointer<QWidget> fenster = t.Widget("Win_3");
    t.face.CloseWindow(w3);
    EXPECT_FALSE(fenster.isNull()) << "deleted later, at a safe point";
    EXPECT_THROW(t.face.CloseWindow(w3), Laufzeitfehler) << "already closed";
    t.face.EventStep();
    EXPECT_TRUE(fenster.isNull());
    EXPECT_EQ(gelaufen, std::vector<std::string>({"FRM_Installation_Close", "Win_1_Close", "CMD_Abbrechen_Click", "weiter"}));
}

}  // namespace
}  // namespace kaldorin::test
