#include <algorithm>
#include <set>

#include "host_fixture.h"

namespace kaldorin::test {
namespace {

class SucheTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        Schreibe(C("KAL/a.txt"), "a");
        Schreibe(C("KAL/B.TXT"), "b");
        Schreibe(C("KAL/.versteckt"), "v");
        Schreibe(C("KAL/readme"), "r");
        fs::create_directories(C("KAL/Sub"));
        fs::create_directories(C("KAL/.vordner"));
    }

    std::set<std::string> Alle(const std::string& muster, int klasse) {
        std::set<std::string> namen;
        for (auto n = host_->FindFirst(muster, klasse); !n.empty(); n = host_->FindNext()) {
            EXPECT_TRUE(namen.insert(n).second) << n;
        }
        return namen;
    }
};

TEST_F(SucheTest, AttributeClassesDecideWhatIsListed) {
    using S = std::set<std::string>;
    EXPECT_EQ(Alle("C:\\kal\\*", 0), (S{"a.txt", "B.TXT", "readme"}));
    EXPECT_EQ(Alle("C:\\kal\\*", 16), (S{"a.txt", "B.TXT", "readme", "Sub"}));
    EXPECT_EQ(Alle("C:\\kal\\*", 6), (S{"a.txt", "B.TXT", "readme", ".versteckt"}));
    EXPECT_EQ(Alle("C:\\kal\\*", 22), (S{"a.txt", "B.TXT", "readme", ".versteckt", "Sub", ".vordner"}));
}

TEST_F(SucheTest, WildcardsMatchWithoutRegardToCase) {
    using S = std::set<std::string>;
    EXPECT_EQ(Alle("C:\\KAL\\*.txt", 0), (S{"a.txt", "B.TXT"}));
    EXPECT_EQ(Alle("C:\\KAL\\?.TxT", 0), (S{"a.txt", "B.TXT"}));
    EXPECT_EQ(Alle("C:\\KAL\\*.*", 0), (S{"a.txt", "B.TXT", "readme"}));
    EXPECT_EQ(Alle("C:\\KAL\\r*e", 0), (S{"readme"}));
    EXPECT_EQ(Alle("C:\\KAL\\*.doc", 0), S{});
    EXPECT_EQ(Alle("C:\\fehlt\\*", 22), S{});
}

TEST_F(SucheTest, FolderTestThroughTheSearch) {
    EXPECT_EQ(host_->FindFirst("C:\\kal\\sub", 16), "Sub");
    EXPECT_EQ(host_->FoundAttributes() & 16, 16);
    EXPECT_EQ(host_->FindFirst("C:\\Kal", 16), "KAL");
    EXPECT_EQ(host_->FoundAttributes() & 16, 16);
    // A file is found, but is no folder.
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\a.TXT", 16), "a.txt");
    EXPECT_EQ(host_->FoundAttributes() & 16, 0);
    // Without class 16 a folder is not found at all.
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\Sub", 0), "");
    EXPECT_THROW(host_->FoundAttributes(), Laufzeitfehler);
    for (const char* nichts : {"C:\\KAL\\fehlt", "C:\\fehlt\\Sub", "C:\\KAL\\", "C:", "C:\\"}) {
        EXPECT_EQ(host_->FindFirst(nichts, 16), "") << nichts;
    }
    EXPECT_THROW(host_->FindFirst("KAL\\Sub", 16), Laufzeitfehler);
}

TEST_F(SucheTest, AttributeBits) {
    NurLesen(C("KAL/readme"));
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\readme", 0), "readme");
    EXPECT_EQ(host_->FoundAttributes(), 1);
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\.versteckt", 6), ".versteckt");
    EXPECT_EQ(host_->FoundAttributes(), 2);
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\.vordner", 22), ".vordner");
    EXPECT_EQ(host_->FoundAttributes(), 18);
}

TEST_F(SucheTest, EndOfSearchAndSearchBeforeStart) {
    auto neu = NeuerHost();
    EXPECT_THROW(neu->FindNext(), Laufzeitfehler);
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\readme", 0), "readme");
    EXPECT_EQ(host_->FindNext(), "");
    EXPECT_EQ(host_->FindNext(), "");
    EXPECT_THROW(host_->FoundAttributes(), Laufzeitfehler);
}

TEST_F(SucheTest, EmptyingAFolderWhileSearchingIt) {
    // The removal deletes each name as the search hands it out.
    for (auto n = host_->FindFirst("C:\\kal\\*", 0); !n.empty(); n = host_->FindNext()) {
        host_->DeleteFile("C:\\kal\\" + n);
    }
    EXPECT_THROW(host_->RemoveFolder("C:\\kal"), Laufzeitfehler);  // hidden entries and Sub stay
    for (auto n = host_->FindFirst("C:\\kal\\*", 6); !n.empty(); n = host_->FindNext()) {
        host_->ClearAttributes("C:\\kal\\" + n);
        host_->DeleteFile("C:\\kal\\" + n);
    }
    host_->RemoveFolder("C:\\kal\\sub");
    host_->RemoveFolder("C:\\KAL\\.VORDNER");
    host_->RemoveFolder("C:\\kal");
    EXPECT_FALSE(fs::exists(C("KAL")));
}

TEST_F(HostTest, MakeFolderMakesOneLevelOnly) {
    host_->MakeFolder("C:\\Programme\\KALDORIN");
    EXPECT_TRUE(fs::is_directory(C("Programme/KALDORIN")));
    host_->MakeFolder("C:\\programme\\kaldorin\\Sound");  // existing parts keep their case
    EXPECT_TRUE(fs::is_directory(C("Programme/KALDORIN/Sound")));
    EXPECT_THROW(host_->MakeFolder("C:\\PROGRAMME\\kaldorin"), Laufzeitfehler);  // exists
    EXPECT_THROW(host_->MakeFolder("C:\\Fehlt\\Unter"), Laufzeitfehler);
    EXPECT_FALSE(fs::exists(C("Fehlt")));
    Schreibe(C("datei"), "x");
    EXPECT_THROW(host_->MakeFolder("C:\\datei"), Laufzeitfehler);
    EXPECT_THROW(host_->MakeFolder("C:\\datei\\unter"), Laufzeitfehler);
    EXPECT_THROW(host_->MakeFolder("C:\\"), Laufzeitfehler);
    // What exists as a folder, in any case; a file, a missing path or a drive this host
    // has no place for is none.
    EXPECT_TRUE(host_->FolderExists("C:\\PROGRAMME\\kaldorin"));
    EXPECT_TRUE(host_->FolderExists("C:"));
    EXPECT_FALSE(host_->FolderExists("C:\\datei"));
    EXPECT_FALSE(host_->FolderExists("C:\\Fehlt"));
    EXPECT_FALSE(host_->FolderExists("Q:\\Daten"));
}

TEST_F(HostTest, RemoveFolderRemovesOnlyEmptyFolders) {
    Schreibe(C("Voll/x"), "x");
    EXPECT_THROW(host_->RemoveFolder("C:\\voll"), Laufzeitfehler);
    EXPECT_TRUE(fs::exists(C("Voll/x")));
    EXPECT_THROW(host_->RemoveFolder("C:\\voll\\x"), Laufzeitfehler);  // a file
    EXPECT_THROW(host_->RemoveFolder("C:\\fehlt"), Laufzeitfehler);
    EXPECT_THROW(host_->RemoveFolder("C:"), Laufzeitfehler);
    fs::create_directories(C("Leer"));
    host_->RemoveFolder("C:\\LEER");
    EXPECT_FALSE(fs::exists(C("Leer")));
}

TEST_F(HostTest, DeleteFileAndReadOnlyFiles) {
    Schreibe(C("KAL/Prog.EXE"), "p");
    Schreibe(C("KAL/fest.dat"), "f");
    NurLesen(C("KAL/fest.dat"));
    EXPECT_TRUE(host_->FileExists("C:\\kal\\prog.exe"));
    EXPECT_FALSE(host_->FileExists("C:\\kal"));  // a folder is no file
    EXPECT_FALSE(host_->FileExists("C:\\kal\\fehlt"));

    host_->DeleteFile("C:\\KAL\\PROG.exe");
    EXPECT_FALSE(fs::exists(C("KAL/Prog.EXE")));
    EXPECT_THROW(host_->DeleteFile("C:\\KAL\\Prog.EXE"), Laufzeitfehler);  // gone
    EXPECT_THROW(host_->DeleteFile("C:\\KAL"), Laufzeitfehler);            // a folder
    EXPECT_TRUE(fs::is_directory(C("KAL")));

    // As on Windows: a read-only file stays until its attribute is cleared.
    EXPECT_THROW(host_->DeleteFile("C:\\KAL\\fest.dat"), Laufzeitfehler);
    EXPECT_EQ(Lies(C("KAL/fest.dat")), "f");
    host_->ClearAttributes("C:\\kal\\FEST.DAT");
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\fest.dat", 0), "fest.dat");
    EXPECT_EQ(host_->FoundAttributes(), 0);
    host_->DeleteFile("C:\\KAL\\fest.dat");
    EXPECT_THROW(host_->ClearAttributes("C:\\KAL\\fest.dat"), Laufzeitfehler);
}

TEST_F(HostTest, NumberedFilesGoThroughTheMapping) {
    fs::create_directories(C("Programme/KALDORIN"));
    const std::uint8_t inhalt[] = {'k', 'a', 'l'};
    const int ziel = host_->OpenWrite("C:\\programme\\kaldorin\\Neu.DAT");
    host_->Write(ziel, inhalt);
    host_->Close(ziel);
    EXPECT_EQ(Lies(C("Programme/KALDORIN/Neu.DAT")), "kal");
    const int quelle = host_->OpenRead("C:\\PROGRAMME\\KALDORIN\\neu.dat");
    EXPECT_EQ(host_->Length(quelle), 3u);
    host_->Close(quelle);
    EXPECT_THROW(host_->OpenWrite("C:\\Fehlt\\Neu.DAT"), Laufzeitfehler);
    EXPECT_THROW(host_->OpenRead("D:\\Neu.DAT"), Laufzeitfehler);
}

TEST_F(HostTest, FailuresSayWhatWentWrongInGerman) {
    try {
        host_->RemoveFolder("C:\\Fehlt");
        FAIL();
    } catch (const Laufzeitfehler& f) {
        EXPECT_EQ(std::string(f.what()), "Der Ordner \"C:\\Fehlt\" ist nicht vorhanden.");
    }
}

}  // namespace
}  // namespace kaldorin::test
