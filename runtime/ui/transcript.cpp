#include "runtime/ui/transcript.h"

#include <nlohmann/json.hpp>

namespace kaldorin {
namespace {

std::string Colour(std::optional<Farbe> colour) {
    return colour ? std::to_string(*colour) : "null";
}

std::string FontJson(const FontState& font) {
    return JsonObject().Add("name", font.name).Add("size", font.size).Add("bold", font.bold).Text();
}

std::string OutputJson(const SurfaceOutput& output) {
    std::vector<std::string> lines, texts, printed;
    for (const auto& l : output.lines)
        lines.push_back(JsonObject().Add("x1", l.x1).Add("y1", l.y1).Add("x2", l.x2).Add("y2", l.y2)
                            .Add("colour", std::int64_t{l.colour}).Add("count", l.count).Text());
    for (const auto& t : output.texts)
        texts.push_back(JsonObject().Add("x", t.x).Add("y", t.y).Add("text", t.text).Add("size", t.size)
                            .Add("bold", t.bold).Add("colour", std::int64_t{t.colour}).Text());
    for (const auto& [number, line] : output.printed) {
        std::vector<std::string> pieces;
        for (const auto& p : line.pieces)
            pieces.push_back(JsonObject().Add("column", p.column).Add("text", p.text).Add("size", p.size)
                                 .Add("bold", p.bold).Add("colour", std::int64_t{p.colour}).Text());
        printed.push_back(JsonObject().Add("line", number).Add("text", line.Text())
                              .AddRaw("pieces", JsonArray(pieces)).Text());
    }
    return JsonObject().AddRaw("lines", JsonArray(lines)).AddRaw("texts", JsonArray(texts))
        .AddRaw("printed", JsonArray(printed)).Text();
}

std::string WindowJson(const WindowState& w) {
    JsonObject o;
    o.Add("name", w.name).Add("number", w.number).Add("title", w.title).Add("x", w.x).Add("y", w.y)
        .Add("w", w.width).Add("h", w.height);
    if (w.owner.empty()) o.AddNull("owner"); else o.Add("owner", w.owner);
    o.AddRaw("backColour", Colour(w.backColour)).AddRaw("textColour", Colour(w.textColour))
        .Add("icon", w.icon).Add("resizable", w.resizable).Add("available", w.available)
        .Add("autoRedraw", w.autoRedraw).AddRaw("font", FontJson(w.font));
    if (w.output) o.AddRaw("output", OutputJson(*w.output));
    return o.Text();
}

std::string ControlJson(const ControlState& c) {
    JsonObject o;
    o.Add("name", c.name).Add("kind", KindName(c.kind)).Add("window", c.window).Add("text", c.text)
        .Add("x", c.x).Add("y", c.y).Add("w", c.width).Add("h", c.height).Add("available", c.available)
        .Add("ticked", c.ticked).Add("value", c.value).Add("max", c.maximum)
        .AddRaw("font", FontJson(c.font)).AddRaw("textColour", Colour(c.textColour))
        .AddRaw("backColour", Colour(c.backColour)).Add("toolTip", c.toolTip).Add("picture", c.picture)
        .Add("transparent", c.transparent).Add("border", c.border).Add("smooth", c.smooth)
        .Add("autoRedraw", c.autoRedraw);
    if (c.output) o.AddRaw("output", OutputJson(*c.output));
    return o.Text();
}

void AddIgnored(JsonObject& o, std::string_view ignored) {
    if (!ignored.empty()) o.Add("ignored", ignored);
}

}  // namespace

// Through the library, whose replace handler turns a byte that is not part of valid
// UTF-8 into U+FFFD: any text gives valid JSON, and valid UTF-8 passes unchanged.
std::string JsonString(std::string_view text) {
    return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
    if (body_.size() > 1) body_ += ',';
    body_ += JsonString(key);
    body_ += ':';
    body_ += json;
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view text) { return AddRaw(key, JsonString(text)); }
JsonObject& JsonObject::Add(std::string_view key, std::int64_t number) { return AddRaw(key, std::to_string(number)); }
JsonObject& JsonObject::Add(std::string_view key, bool value) { return AddRaw(key, value ? "true" : "false"); }
JsonObject& JsonObject::AddNull(std::string_view key) { return AddRaw(key, "null"); }

std::string JsonArray(const std::vector<std::string>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ',';
        out += values[i];
    }
    return out + "]";
}

std::vector<std::string> SplitButtons(std::string_view labels) {
    std::vector<std::string> buttons;
    for (;;) {
        std::size_t bar = labels.find('|');
        buttons.emplace_back(labels.substr(0, bar));
        if (bar == std::string_view::npos) return buttons;
        labels.remove_prefix(bar + 1);
    }
}

namespace {

std::string AsRead(std::string_view text, bool alert) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((alert && c == '|') || c == '\n') lines += '\n';
        else if (c == '\r') { lines += '\n'; if (i + 1 < text.size() && text[i + 1] == '\n') ++i; }
        else lines += c;
    }
    while (!lines.empty() && lines.back() == '\n') lines.pop_back();
    return lines;
}

}  // namespace

std::string AnsweredAlert(std::string_view text, std::string_view button) {
    return AsRead(text, true) + "\n  -> [" + std::string(button) + "]\n\n";
}

std::string AnsweredMessage(std::string_view title, std::string_view text) {
    return (title.empty() ? std::string() : std::string(title) + ": ") + AsRead(text, false) +
           "\n  -> [OK]\n\n";
}

int CharacterCount(std::string_view utf8) {
    int count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

std::string PrintedLine::Text() const {
    // Work in code points so that columns count characters, not bytes.
    std::vector<std::string> cells;
    for (const auto& piece : pieces) {
        std::size_t at = static_cast<std::size_t>(piece.column - 1);
        std::string_view rest = piece.text;
        while (!rest.empty()) {
            std::size_t n = 1;
            while (n < rest.size() && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) ++n;
            if (cells.size() <= at) cells.resize(at + 1, " ");
            cells[at++] = std::string(rest.substr(0, n));
            rest.remove_prefix(n);
        }
        if (cells.size() < at) cells.resize(at, " ");
    }
    std::string text;
    for (const auto& cell : cells) text += cell;
    return text;
}

void SurfaceOutput::Clear() {
    lines.clear();
    texts.clear();
    printed.clear();
    printLine = printColumn = 1;
}

void SurfaceOutput::AddLine(int x1, int y1, int x2, int y2, Farbe colour) {
    if (!lines.empty()) {
        DrawnLines& last = lines.back();
        if (last.colour == colour && last.x1 == x1 && last.x2 == x2 && y1 == last.y1 + last.count &&
            y2 == last.y2 + last.count) {
            ++last.count;
            return;
        }
    }
    lines.push_back({x1, y1, x2, y2, colour, 1});
}

void SurfaceOutput::Print(std::string_view text, int size, bool bold, Farbe colour, bool endLine) {
    PrintedLine& line = printed[printLine];
    if (!text.empty()) {
        line.pieces.push_back({printColumn, std::string(text), size, bold, colour});
        printColumn += CharacterCount(text);
    }
    if (endLine) {
        ++printLine;
        printColumn = 1;
    }
}

std::string_view KindName(Art kind) {
    switch (kind) {
    case Art::Label: return "label";
    case Art::TextBox: return "textbox";
    case Art::Button: return "button";
    case Art::Frame: return "frame";
    case Art::CheckBox: return "checkbox";
    case Art::ProgressBar: return "progressbar";
    case Art::Picture: return "picture";
    case Art::TextArea: return "textarea";
    }
    return "unknown";
}

void Transcript::Write(const JsonObject& object) {
    if (!out_) return;
    *out_ << object.Text() << '\n';
    out_->flush();
}

void Transcript::Opened(const WindowState& w) {
    JsonObject o;
    o.Add("op", "opened").Add("window", w.name).Add("number", w.number).Add("title", w.title)
        .Add("w", w.width).Add("h", w.height);
    if (w.owner.empty()) o.AddNull("owner"); else o.Add("owner", w.owner);
    Write(o);
}

void Transcript::Closed(std::string_view window) { Write(JsonObject().Add("op", "closed").Add("window", window)); }

void Transcript::Alert(int style, std::string_view text, int defaultButton, std::string_view labels,
                       std::optional<int> answer) {
    std::vector<std::string> buttons;
    for (const auto& b : SplitButtons(labels)) buttons.push_back(JsonString(b));
    JsonObject o;
    o.Add("op", "alert").Add("style", style).Add("text", text).Add("default", defaultButton)
        .AddRaw("buttons", JsonArray(buttons));
    if (answer) o.Add("answer", *answer);
    Write(o);
}

void Transcript::Message(std::string_view title, std::string_view text, int style, std::optional<int> answer) {
    JsonObject o;
    o.Add("op", "message").Add("title", title).Add("text", text).Add("style", style);
    if (answer) o.Add("answer", *answer);
    Write(o);
}

void Transcript::Folder(std::string_view title, std::string_view start, std::string_view opens,
                        const std::optional<std::string>& answer, bool cancelled) {
    JsonObject o;
    o.Add("op", "folder").Add("title", title).Add("start", start).Add("opens", opens);
    if (answer) o.Add("answer", *answer);
    else if (cancelled) o.Add("cancelled", true);
    Write(o);
}

void Transcript::Click(std::string_view control, std::string_view ignored) {
    JsonObject o;
    o.Add("op", "click").Add("control", control);
    AddIgnored(o, ignored);
    Write(o);
}

void Transcript::Close(std::string_view window, std::string_view ignored) {
    JsonObject o;
    o.Add("op", "close").Add("window", window);
    AddIgnored(o, ignored);
    Write(o);
}

void Transcript::Type(std::string_view control, std::string_view text, std::string_view ignored) {
    JsonObject o;
    o.Add("op", "type").Add("control", control).Add("text", text);
    AddIgnored(o, ignored);
    Write(o);
}

void Transcript::Tick(std::string_view control, bool ticked, std::string_view ignored) {
    JsonObject o;
    o.Add("op", "tick").Add("control", control).Add("ticked", ticked);
    AddIgnored(o, ignored);
    Write(o);
}

void Transcript::Dump(const std::vector<WindowState>& windows, const std::vector<ControlState>& controls,
                      std::string_view focus, int mousePointer) {
    std::vector<std::string> w, c;
    for (const auto& window : windows) w.push_back(WindowJson(window));
    for (const auto& control : controls) c.push_back(ControlJson(control));
    JsonObject o;
    o.Add("op", "dump").AddRaw("windows", JsonArray(w)).AddRaw("controls", JsonArray(c));
    if (focus.empty()) o.AddNull("focus"); else o.Add("focus", focus);
    o.Add("mousePointer", mousePointer);
    Write(o);
}

void Transcript::Error(int line, std::string_view script, std::string_view reason) {
    Write(JsonObject().Add("op", "error").Add("line", line).Add("script", script).Add("reason", reason));
}

void Transcript::End(int code) { Write(JsonObject().Add("op", "end").Add("code", code)); }

}  // namespace kaldorin
