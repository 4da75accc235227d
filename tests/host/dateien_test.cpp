#include <set>
#include <tuple>

#include "host_fixture.h"
#include "tests/host_regeln.h"

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
        for (auto n = host_->FindFirst(muster, klasse); !n.empty(); n = host_->FindNext())
            EXPECT_TRUE(namen.insert(n).second) << n;
        return namen;
    }
};

TEST_F(SucheTest, AttributeClassesAndWildcardsDecideWhatIsListed) {
    // Class 16 adds folders, 6 hidden entries; wildcards match without regard to case.
    using S = std::set<std::string>;
    const std::tuple<const char*, int, S> faelle[] = {
        {"C:\\kal\\*", 0, {"a.txt", "B.TXT", "readme"}},
        {"C:\\kal\\*", 16, {"a.txt", "B.TXT", "readme", "Sub"}},
        {"C:\\kal\\*", 6, {"a.txt", "B.TXT", "readme", ".versteckt"}},
        {"C:\\kal\\*", 22, {"a.txt", "B.TXT", "readme", ".versteckt", "Sub", ".vordner"}},
        {"C:\\KAL\\*.txt", 0, {"a.txt", "B.TXT"}},
        {"C:\\KAL\\?.TxT", 0, {"a.txt", "B.TXT"}},
        {"C:\\KAL\\*.*", 0, {"a.txt", "B.TXT", "readme"}},
        {"C:\\KAL\\r*e", 0, {"readme"}},
        {"C:\\KAL\\*.doc", 0, {}},
        // A folder is found by its name only with class 16; a drive or a trailing
        // backslash names none.
        {"C:\\Kal", 16, {"KAL"}}, {"C:\\KAL\\Sub", 0, {}}, {"C:\\fehlt\\Sub", 16, {}},
        {"C:\\KAL\\", 16, {}}, {"C:", 16, {}}, {"C:\\", 16, {}}};
    for (const auto& [muster, klasse, namen] : faelle) {
        EXPECT_EQ(Alle(muster, klasse), namen) << muster << klasse;
        EXPECT_TRUE(namen.empty() || host_->FindNext().empty()) << "the end stays the end";
    }
    EXPECT_THROW(host_->FindFirst("KAL\\Sub", 16), Laufzeitfehler);
}

TEST_F(SucheTest, AttributeBits) {
    NurLesen(C("KAL/readme"));
    const std::tuple<const char*, int, int> faelle[] = {{"readme", 0, 1}, {".versteckt", 6, 2}, {".vordner", 22, 18}};
    for (const auto& [name, klasse, bits] : faelle) {
        EXPECT_EQ(host_->FindFirst(std::string("C:\\KAL\\") + name, klasse), name);
        EXPECT_EQ(host_->FoundAttributes(), bits) << name;
    }
}

// Making, deleting and removing what the installation and the removal also reach (a
// folder below its parent, case-blind names, non-empty folders, read-only files): here
// what they cannot.
TEST_F(HostTest, FolderAndFileOperationsRefuseTheWrongKindAndWhatIsNotThere) {
    Schreibe(C("KAL/datei"), "x");
    for (const char* pfad : {"C:\\kal", "C:\\Fehlt\\Unter", "C:\\kal\\datei", "C:\\kal\\datei\\unter", "C:\\"})
        EXPECT_THROW(host_->MakeFolder(pfad), Laufzeitfehler) << pfad;
    EXPECT_FALSE(fs::exists(C("Fehlt")));
    for (const char* pfad : {"C:\\kal\\datei", "C:"}) EXPECT_THROW(host_->RemoveFolder(pfad), Laufzeitfehler) << pfad;
    // What exists as a folder, in any case; a file, a missing path or a drive this host
    // has no place for is none.
    EXPECT_TRUE(host_->FolderExists("C:\\kal"));
    EXPECT_TRUE(host_->FolderExists("C:"));
    for (const char* pfad : {"C:\\kal\\datei", "C:\\Fehlt", "Q:\\Daten"}) EXPECT_FALSE(host_->FolderExists(pfad)) << pfad;
    try {
        host_->RemoveFolder("C:\\Fehlt");
        ADD_FAILURE();
    } catch (const Laufzeitfehler& f) {  // failures say what went wrong, in German
        EXPECT_STREQ(f.what(), "Der Ordner \"C:\\Fehlt\" ist nicht vorhanden.");
    }
    EXPECT_THROW(host_->DeleteFile("C:\\KAL"), Laufzeitfehler);
    EXPECT_TRUE(fs::is_directory(C("KAL")));
    NurLesen(C("KAL/datei"));
    host_->ClearAttributes("C:\\kal\\DATEI");
    EXPECT_EQ(host_->FindFirst("C:\\KAL\\datei", 0), "datei");
    EXPECT_EQ(host_->FoundAttributes(), 0);
    host_->DeleteFile("C:\\KAL\\datei");
    EXPECT_THROW(host_->ClearAttributes("C:\\KAL\\datei"), Laufzeitfehler);
}

// A write killed half-way leaves its temporary file in the folder; removing the folder
// takes that along, but nothing that only looks like one.
TEST_F(HostTest, RemovingAFolderTakesAlongWhatDeadWritesLeft) {
    Schreibe(C("KAL/.t4.ovl.kaldorin-4711-0-815"), "halb");
    host_->RemoveFolder("C:\\KAL");
    EXPECT_FALSE(fs::exists(C("KAL")));
    Schreibe(C("KAL/.t4.ovl.kaldorin-Notizen"), "des Nutzers");
    EXPECT_THROW(host_->RemoveFolder("C:\\KAL"), Laufzeitfehler);
    EXPECT_TRUE(fs::exists(C("KAL/.t4.ovl.kaldorin-Notizen")));
}

// The rules the Win32 host keeps as well.
TEST_F(HostTest, KeepsTheRulesOfEveryHost) {
    fs::create_directories(C("Regeln"));
    HostRegelnPruefen(*host_, "C:\\Regeln", "KaldorinRegeln");
}

}  // namespace
}  // namespace kaldorin::test
