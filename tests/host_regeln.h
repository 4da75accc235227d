#pragma once
// The rules every host keeps, run by the tests of the POSIX host natively and of the
// Win32 host under Wine alike: searches, folders, files and settings behave and fail
// the same way, with the same messages, whichever system is below.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin::test {

// `host` is fresh (no search begun); `ordner` is the Windows path of an empty folder it
// may fill; `app` names settings nobody else uses.
inline void HostRegelnPruefen(Host& host, const std::string& ordner, const std::string& app) {
    auto fehler = [](auto schritt) {
        try {
            schritt();
        } catch (const Laufzeitfehler& f) {
            return std::string(f.what());
        }
        return std::string("(kein Fehler)");
    };
    EXPECT_EQ(fehler([&] { host.FindNext(); }), "Es läuft keine Verzeichnissuche.");
    const int f = host.OpenWrite(ordner + "\\Daten.txt");
    host.Write(f, std::vector<std::uint8_t>{'a', 'b', 'c'});
    host.Close(f);
    host.MakeFolder(ordner + "\\Sound");
    EXPECT_EQ(host.FindFirst(ordner + "\\*", 0), "Daten.txt");
    EXPECT_EQ(host.FoundAttributes(), 0) << "an ordinary file has no bit set";
    EXPECT_EQ(host.FindNext(), "");
    EXPECT_EQ(fehler([&] { host.FoundAttributes(); }), "Die Verzeichnissuche hat keinen Eintrag gefunden.");
    EXPECT_EQ(host.FindFirst(ordner + "\\SOUND", 16), "Sound");
    EXPECT_EQ(host.FoundAttributes(), 16);
    EXPECT_EQ(host.FindFirst(ordner + "\\fehlt\\*", 16), "");
    const int r = host.OpenRead(ordner + "\\DATEN.TXT");
    EXPECT_EQ(host.Length(r), 3u);
    EXPECT_THROW(host.Read(r, 4), Laufzeitfehler);  // past the end
    host.Close(r);
    EXPECT_FALSE(host.FileExists(ordner + "\\Sound"));
    EXPECT_TRUE(host.FolderExists(ordner + "\\sound"));
    for (const auto& falsch : std::vector<std::function<void()>>{
             [&] { host.MakeFolder(ordner + "\\sound"); }, [&] { host.MakeFolder(ordner + "\\x\\y"); },
             [&] { host.DeleteFile(ordner + "\\fehlt.txt"); }, [&] { host.RemoveFolder(ordner + "\\fehlt"); },
             [&] { host.RemoveFolder(ordner); }, [&] { host.OpenRead(ordner + "\\fehlt.txt"); }})
        EXPECT_THROW(falsch(), Laufzeitfehler);
    host.DeleteFile(ordner + "\\daten.txt");
    host.RemoveFolder(ordner + "\\SOUND");

    host.WriteText(app, "KALDORIN", "Dir", "C:\\Programme\\Fahrstraßen");
    EXPECT_EQ(host.ReadText(app, "kaldorin", "DIR"), "C:\\Programme\\Fahrstraßen");
    EXPECT_EQ(host.ReadInt(app, "KALDORIN", "Dir", 7), 7);  // not a number
    EXPECT_EQ(host.ReadText(app, "KALDORIN", "Fehlt"), "");
    host.DeleteKey(app, "KALDORIN", "dir");
    EXPECT_THROW(host.DeleteKey(app, "KALDORIN", "Dir"), Laufzeitfehler);
    host.DeleteSection(app, "KALDORIN");
    EXPECT_THROW(host.DeleteSection(app, "KALDORIN"), Laufzeitfehler);
    host.DeleteApplication(app);
    EXPECT_THROW(host.DeleteApplication(app), Laufzeitfehler);
}

}  // namespace kaldorin::test
