// The setup program from the outside: options, usage, exit codes and the transcript. Skipped when the
// program has not been built in this tree.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        binary_ = std::string(KALDORIN_BIN_DIR) + "/kaldorin-setup";
        if (!fs::exists(binary_)) GTEST_SKIP() << "kaldorin-setup not built";
        // One folder a test, so that ctest -j can run them side by side.
        dir_ = fs::path(KALDORIN_BIN_DIR) /
               ("headless_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    // Runs the program headless (no display) and returns its exit code.
    int Start(const std::string& arguments) {
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + binary_ + " " + arguments +
                              " >" + (dir_ / "out").string() + " 2>&1";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream((dir_ / name).string()) << text;
        return (dir_ / name).string();
    }
    std::string Read(const std::string& name) {
        std::ifstream in((dir_ / name).string());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Prefix() { return " --system prefix=" + (dir_ / "prefix").string(); }

    std::string binary_;
    fs::path dir_;
};

TEST_F(Setup, ExitCodesAndWhatTheySay) {
    const std::string bad = Write("bad.txt", "answer 1\nklick CMD_Weiter\n");
    const std::string leer = Write("empty.txt", "# nothing\n");
    const std::string falsch = Write("wrong.txt", "click CMD_Weiter\n");  // the first alert is open
    const std::string t = " --transcript " + (dir_ / "t.jsonl").string() + Prefix();
    const std::string fehlt = " --transcript " + (dir_ / "fehlt" / "t.jsonl").string() + Prefix();
    struct Fall { std::string argumente; int code; const char* datei; std::string erwartet; };
    const Fall faelle[] = {
        {"--help", 0, "out", "usage: kaldorin-setup"},
        {"--headless", 2, "out", "--script"},
        {"--system farben=2", 2, "out", "farben"},
        {"--headless --script " + (dir_ / "missing").string(), 2, "out", "missing"},
        {"--headless --script " + bad + Prefix(), 2, "out", "line 2"},
        {"--headless --script " + leer + t, 3, "t.jsonl", "{\"op\":\"end\",\"code\":3}\n"},
        {"--headless --script " + falsch + t, 2, "t.jsonl", "{\"op\":\"error\",\"line\":1,"},
        // Neither a face nor an unattended run goes on without the transcript asked for.
        {"--headless --script " + leer + fehlt, 2, "out", "t.jsonl"},
        {"--unattended --remove" + fehlt, 2, "out", "cannot write the transcript"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(Start(f.argumente), f.code) << f.argumente;
        EXPECT_NE(Read(f.datei).find(f.erwartet), std::string::npos) << f.argumente << "\n" << Read(f.datei);
    }
    EXPECT_EQ(Read("out").find("nichts wurde entfernt"), std::string::npos);
}

}  // namespace
