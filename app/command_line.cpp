#include "app/command_line.h"

#include <charconv>

namespace kaldorin {
namespace {

[[noreturn]] void Fail(const std::string& why) { throw CommandLineError(why); }

// A whole decimal (or, with base 16, hex) number in [low, high]; nullopt otherwise.
std::optional<std::int64_t> Number(std::string_view text, std::int64_t low, std::int64_t high, int base = 10) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

void ApplyScreen(FaceOptions& options, std::string_view value) {
    std::size_t x = value.find('x');
    if (x == std::string_view::npos) Fail("screen=WxH expected, e.g. screen=800x600");
    auto width = Number(value.substr(0, x), 1, 100000);
    auto height = Number(value.substr(x + 1), 1, 100000);
    if (!width || !height) Fail("screen=WxH expected, e.g. screen=800x600");
    options.screenWidth = static_cast<int>(*width);
    options.screenHeight = static_cast<int>(*height);
}

// The value that follows an option, or a clear error when it is missing.
const std::string& ValueOf(const std::vector<std::string>& arguments, std::size_t& i) {
    if (i + 1 >= arguments.size()) Fail(arguments[i] + " needs a value");
    return arguments[++i];
}

// "--system KEY=VALUE ..." at arguments[i]: every following KEY=VALUE up to the next
// option belongs to it. Leaves `i` at the last one taken.
void ReadSystemFacts(const std::vector<std::string>& arguments, std::size_t& i, CommandLine& line) {
    if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--")) Fail("--system needs KEY=VALUE");
    while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) ApplySystemFact(line, arguments[++i]);
}

}  // namespace

void ApplySystemFact(CommandLine& line, const std::string& keyValue) {
    std::size_t equals = keyValue.find('=');
    if (equals == std::string::npos) Fail("--system takes KEY=VALUE, not \"" + keyValue + "\"");
    std::string key = keyValue.substr(0, equals);
    std::string_view value = std::string_view(keyValue).substr(equals + 1);
    if (key == "screen") {
        ApplyScreen(line.options, value);
    } else if (key == "twips") {
        auto twips = Number(value, 1, 1000);
        if (!twips) Fail("twips=N expects a whole number from 1");
        line.options.twips = static_cast<int>(*twips);
    } else if (key == "colours") {
        auto colours = Number(value, 2, std::int64_t{1} << 32);
        if (!colours) Fail("colours=N expects a whole number from 2");
        line.options.colours = *colours;
    } else if (key == "cpu") {
        auto cpu = value.starts_with("0x") || value.starts_with("0X")
                       ? Number(value.substr(2), 0, 0xFFFFFFFF, 16)
                       : std::nullopt;
        if (!cpu) Fail("cpu=0xSIGNATURE expects a hex number, e.g. cpu=0x0480");
        line.system.cpu = static_cast<std::uint32_t>(*cpu);
    } else if (key == "family") {
        if (value != "nt" && value != "9x") Fail("family= expects nt or 9x");
        line.system.nt = value == "nt";
    } else if (key == "prefix") {
        if (value.empty()) Fail("prefix= needs a folder");
        line.system.prefix = value;
    } else if (key == "setupdir") {
        if (value.empty()) Fail("setupdir= needs a folder");
        line.system.setupdir = value;
    } else {
        Fail("unknown system key \"" + key + "\" (screen, twips, colours, cpu, family, prefix, setupdir)");
    }
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (a == "--headless") {
            line.face = FaceChoice::Headless;
        } else if (a == "--face") {
            const std::string& face = ValueOf(arguments, i);
            if (face == "headless") line.face = FaceChoice::Headless;
            else if (face == "qt") line.face = FaceChoice::Qt;
            else Fail("unknown face \"" + face + "\" (headless, qt)");
        } else if (a == "--script") {
            line.options.script = ValueOf(arguments, i);
        } else if (a == "--transcript") {
            line.options.transcript = ValueOf(arguments, i);
        } else if (a == "--system") {
            ReadSystemFacts(arguments, i, line);
        } else {
            Fail("unknown argument \"" + a + "\"");
        }
    }
    return line;
}

std::vector<std::string> TakeSystemFacts(const std::vector<std::string>& arguments, CommandLine& line) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--system") ReadSystemFacts(arguments, i, line);
        else rest.push_back(arguments[i]);
    }
    return rest;
}

std::string Usage() {
    return "usage: kaldorin-setup [--face headless|qt] [--headless] [--script FILE]\n"
           "                      [--transcript FILE] [--system KEY=VALUE ...]\n"
           "  --headless          no display: actions come from --script (required)\n"
           "  --script FILE       the user's actions, one a line\n"
           "  --transcript FILE   where to write what the user sees (JSON Lines)\n"
           "  --system KEY=VALUE  screen=WxH twips=N colours=N cpu=0xSIG family=nt|9x\n"
           "                      prefix=DIR setupdir=PATH\n"
           "exit codes: 0 done, 1 program error, 2 bad command line or script,\n"
           "            3 the script ended while the program waited\n"
           "unattended (every warning answered with its first button, messages printed;\n"
           "exit 0 done, 1 an error message was shown, 2 bad options):\n"
           "  kaldorin-setup --unattended --accept-licence [--source DIR] [--target DIR]\n"
           "                 [--no-desktop] [--no-startmenu] [--no-converter]\n"
           "                 [--transcript FILE] [--system KEY=VALUE ...]\n"
           "  kaldorin-setup --unattended --remove [--remove-data all|fahrplan,stellwerk,\n"
           "                 lokdatenbank,bilder,sound] [--system KEY=VALUE ...]\n"
           "  --transcript FILE is the record of an unattended run: every message, warning\n"
           "  and answer, one JSON line each.\n"
           "On Windows the setup is a GUI program: a console does not wait for it, and its\n"
           "output reaches only a file it is redirected to. To wait for the exit code:\n"
           "  cmd:         start \"\" /wait Setup.exe --unattended --remove\n"
           "               echo %ERRORLEVEL%\n"
           "  PowerShell:  (Start-Process Setup.exe '--unattended','--remove' -Wait -PassThru).ExitCode\n";
}

}  // namespace kaldorin
