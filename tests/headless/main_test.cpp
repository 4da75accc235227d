// The setup program from the outside: options, usage and exit codes. Skipped when the
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

TEST_F(Setup, HelpAndBadCommandLines) {
    EXPECT_EQ(Start("--help"), 0);
    EXPECT_NE(Read("out").find("usage: kaldorin-setup"), std::string::npos);
    EXPECT_EQ(Start("--headless"), 2);  // no script
    EXPECT_NE(Read("out").find("--script"), std::string::npos);
    EXPECT_EQ(Start("--system farben=2"), 2);
    EXPECT_NE(Read("out").find("farben"), std::string::npos);
    EXPECT_EQ(Start("--headless --script " + (dir_ / "missing").string()), 2);
}

TEST_F(Setup, ScriptFaultsAndItsEndGiveTheirCodes) {
    std::string bad = Write("bad.txt", "answer 1\nklick CMD_Weiter\n");
    EXPECT_EQ(Start("--headless --script " + bad + Prefix()), 2);
    EXPECT_NE(Read("out").find("line 2"), std::string::npos);

    std::string empty = Write("empty.txt", "# nothing\n");
    std::string transcript = (dir_ / "t.jsonl").string();
    EXPECT_EQ(Start("--headless --script " + empty + " --transcript " + transcript + Prefix()), 3);
    std::string lines = Read("t.jsonl");
    EXPECT_EQ(lines.substr(lines.rfind('{')), "{\"op\":\"end\",\"code\":3}\n");

    std::string wrong = Write("wrong.txt", "click CMD_Weiter\n");  // the first alert is open
    EXPECT_EQ(Start("--headless --script " + wrong + " --transcript " + transcript + Prefix()), 2);
    EXPECT_NE(Read("t.jsonl").find("{\"op\":\"error\",\"line\":1,"), std::string::npos);
}

}  // namespace
