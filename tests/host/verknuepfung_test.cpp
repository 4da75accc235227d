#include <cstdio>

#include "host_fixture.h"

namespace kaldorin::test {
namespace {

class LinkTest : public HostTest {
protected:
    // What lnkinfo says about a link file.
    static std::string Lnkinfo(const std::string& datei) {
        std::string ausgabe;
        FILE* rohr = popen(("LANG=C.UTF-8 lnkinfo '" + datei + "' 2>&1").c_str(), "r");
        char puffer[512];
        while (rohr && std::fgets(puffer, sizeof puffer, rohr)) ausgabe += puffer;
        if (rohr) pclose(rohr);
        return ausgabe;
    }
};

TEST_F(LinkTest, WritesTheShellLinkHeaderAndLinkInfoThatLnkinfoReads) {
    host_->SetLinkTarget("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE");
    host_->CreateLink(host_->ProgramsFolder() + "\\KALDORIN_Edit.LNK");
    const std::string datei = C("WINDOWS/Start Menu/Programs/KALDORIN_Edit.LNK"), bytes = Lies(datei);
    ASSERT_GE(bytes.size(), 0x4Cu + 0x1Cu);
    EXPECT_EQ(bytes.substr(0, 20), std::string("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20));
    EXPECT_EQ(static_cast<unsigned char>(bytes[20]) & 0x82, 0x82);  // HasLinkInfo | IsUnicode
    EXPECT_NE(bytes.find("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));  // terminal block

    ASSERT_TRUE(fs::exists("/usr/bin/lnkinfo")) << "lnkinfo (liblnk-utils) is missing: ./make.sh installs it";
    const std::string info = Lnkinfo(datei);
    EXPECT_NE(info.find("Working directory"), std::string::npos) << info;
    EXPECT_NE(info.find("C:\\Programme\\KALDORIN\n"), std::string::npos) << info;
    // A path outside ASCII, and one outside Windows-1252 (kept in UTF-16).
    for (const char* ziel : {"C:\\Programme\\Größe\\Straße_€.EXE", "D:\\Ελληνικά\\x.exe"}) {
        host_->SetLinkTarget(ziel);
        host_->CreateLink("C:\\WINDOWS\\Desktop\\Fremd.lnk");
        EXPECT_NE(Lnkinfo(C("WINDOWS/Desktop/Fremd.lnk")).find(ziel), std::string::npos) << ziel;
    }
}

TEST_F(LinkTest, ReplacesALinkOfTheSameNameInAnyCase) {
    host_->SetLinkTarget("C:\\A.EXE");
    host_->CreateLink("C:\\WINDOWS\\Desktop\\Kaldorin_Edit.lnk");
    host_->SetLinkTarget("C:\\B.EXE");
    host_->CreateLink("C:\\windows\\desktop\\KALDORIN_EDIT.LNK");
    EXPECT_EQ(fs::directory_iterator(C("WINDOWS/Desktop"))->path().filename(), "Kaldorin_Edit.lnk");
    EXPECT_EQ(std::distance(fs::directory_iterator(C("WINDOWS/Desktop")), {}), 1);
    EXPECT_NE(Lies(C("WINDOWS/Desktop/Kaldorin_Edit.lnk")).find("C:\\B.EXE"), std::string::npos);
}

TEST_F(LinkTest, FailsWithoutFolderOrTargetAndLeavesNothing) {
    EXPECT_THROW(host_->CreateLink("C:\\WINDOWS\\Desktop\\x.lnk"), Laufzeitfehler);  // no target
    EXPECT_NO_THROW(host_->SetLinkTarget("kein Pfad"));  // checked when the link is made
    EXPECT_THROW(host_->CreateLink("C:\\WINDOWS\\Desktop\\x.lnk"), Laufzeitfehler);
    host_->SetLinkTarget("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE");
    EXPECT_THROW(host_->CreateLink(host_->ProgramsFolder() + "\\KALDORIN\\KALDORIN_Edit.LNK"),
                 Laufzeitfehler);
    EXPECT_FALSE(fs::exists(C("WINDOWS/Start Menu/Programs/KALDORIN")));
    fs::create_directories(C("WINDOWS/Desktop/Ordner.lnk"));
    EXPECT_THROW(host_->CreateLink("C:\\WINDOWS\\Desktop\\ordner.LNK"), Laufzeitfehler);
    Schreibe(C("WINDOWS/Desktop/fest.lnk"), "alt");
    NurLesen(C("WINDOWS/Desktop/fest.lnk"));
    EXPECT_THROW(host_->CreateLink("C:\\WINDOWS\\Desktop\\fest.lnk"), Laufzeitfehler);
    EXPECT_EQ(Lies(C("WINDOWS/Desktop/fest.lnk")), "alt");
    EXPECT_EQ(std::distance(fs::directory_iterator(C("WINDOWS/Desktop")), {}), 2);  // no temporary files
}

}  // namespace
}  // namespace kaldorin::test
