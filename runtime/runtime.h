#pragma once
// The runtime interface: every operation the setup program needs from the system
// it runs on. The program (startup/, licence/, wizard/, install/, uninstall/) calls
// nothing else; a backend behind it holds no program logic.
//
// Two halves:
//   Face  - windows, controls, events, output, alerts, messages, the folder chooser
//           and the facts of the display (headless, Qt or Win32).
//   Host  - files, directory search, settings, links, system facts and unpacking
//           (POSIX or Win32).
// String helpers that need no system are free functions in runtime/strings.h.
//
// Conventions for every operation below:
//   * Text is UTF-8. Paths are Windows paths ("C:\Programme\KALDORIN"); the host maps
//     them to its own file system.
//   * An operation that fails throws Laufzeitfehler. Callers protect the steps that
//     the program protects; everything else lets the error travel.
//   * Every Face operation that takes a Handle throws when that element is not open
//     (never made, or closed with its window), and one meant for a kind of control
//     ("a check box") throws for any other kind or a window.
//   * Once a face's run is stopping (the script broke the rules or ran out, WM_QUIT),
//     EventStep, the modal dialogs and the opening of windows throw again, so that the
//     program unwinds to the face's Run whatever it catches.
//   * Colours are 24-bit integers: blue * 65536 + green * 256 + red.
//   * Positions and sizes are pixels relative to the window that holds the control.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin {

// A failed runtime operation. what() is a German sentence fit to show a user.
struct Laufzeitfehler : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown by EndeProgramm(): unwinds the program to the face's Run(), which closes the
// run in order. Not an error; never caught by the program.
struct ProgrammEnde {};

// Ends the program at once (the runtime's "end the program").
[[noreturn]] inline void EndeProgramm() { throw ProgrammEnde{}; }

using Farbe = std::int32_t;
constexpr Farbe RGB(int rot, int gruen, int blau) { return blau * 65536 + gruen * 256 + rot; }

// A window, a form or a control. 0 is no element. Handles are owned by the face and
// stay valid until the window that holds them is closed.
using Handle = int;

enum class Art {
    Label,        // caption text
    TextBox,      // one-line editable text
    Button,       // command button
    Frame,        // bordered group box without caption
    CheckBox,     // caption and tick
    ProgressBar,  // value 0..maximum
    Picture,      // shows a picture resource
    TextArea,     // printable output surface (the licence text)
};

// The numbers the program passes to the runtime, with their names.
// The mouse pointer (Face::SetMousePointer).
constexpr int kDefaultPointer = 0;
constexpr int kArrowPointer = 1;
constexpr int kBusyPointer = 11;
// The style of an alert with the warning sign (Face::Alert), of a message with the stop
// sign (Face::Message), and the folder chooser's flag for file-system folders only
// (Face::BrowseForFolder).
constexpr int kAlertWarning = 19;
constexpr int kMessageStop = 16;
constexpr int kBrowseFileSystemOnly = 1;
// Where a control is put to hide it (Face::Move, Face::CreateControl): out of view.
constexpr int kOutOfView = -1000;
// Attribute bits and classes of the directory search (Host::FindFirst, FoundAttributes).
constexpr int kAttrReadOnly = 1;
constexpr int kAttrHidden = 2;
constexpr int kAttrSystem = 4;
constexpr int kAttrFolder = 16;

// Event handlers, bound by name: control name + "_" + event name, for example
// "CMD_Weiter_Click" or "Win_1_Close". The face looks a name up here when the user
// acts; an event without a handler is dropped. Close handlers ignore their parameter,
// so every handler takes none.
using Handler = std::function<void()>;
using HandlerTable = std::map<std::string, Handler, std::less<>>;

// -------------------------------------------------------------------------------
// Face: what the user sees and does.
// -------------------------------------------------------------------------------
class Face {
public:
    virtual ~Face() = default;

    // --- Windows ----------------------------------------------------------------
    // Opens window `number` (1 = background, 3 = licence window) with the given size
    // in pixels, owned by `owner` (0: none). Window 1 with the screen's size covers the
    // whole screen. The window's name is "Win_<number>"; its close event is
    // "Win_<number>_Close". Throws when that window is open already or the size is
    // not positive.
    virtual Handle OpenWindow(int number, int width, int height, Handle owner) = 0;
    // Closes a window or form, every control on it and every window it owns. Throws
    // when it is not open.
    virtual void CloseWindow(Handle window) = 0;
    // Loads a form from the stored description `resource` (":{FRM_Installation"),
    // creating the form and its design-time controls, and shows it. Returns the form.
    // Throws when the description cannot be read or the form is loaded already.
    virtual Handle LoadForm(std::string_view resource) = 0;
    // The control or form called `name`, which an earlier LoadForm or CreateControl
    // made. Throws when there is none.
    virtual Handle FindControl(std::string_view name) = 0;
    // Creates a control of kind `art` on `window` at (x, y) with the given size; it
    // takes the window's font. Throws when `name` is empty or an open element has it.
    virtual Handle CreateControl(Handle window, Art art, std::string_view name,
                                 std::string_view text, int x, int y, int width,
                                 int height) = 0;
    // The table of event handlers. Set once, before the first event step.
    virtual void BindHandlers(HandlerTable table) = 0;
    // One event-loop step: dispatches the next event to its handler. At top level (no
    // handler running) it waits for the next event, so an idle program uses no CPU.
    // Inside a handler it handles what is pending and returns at once.
    virtual void EventStep() = 0;
    // Whether the user may resize or maximise the window (the licence window: no).
    virtual void SetResizable(Handle window, bool resizable) = 0;

    // --- Controls (and windows, where it makes sense) --------------------------
    // Caption of a label, button, check box; text of a text box; title of a window.
    // Other controls keep the text without showing it.
    virtual void SetText(Handle element, std::string_view text) = 0;
    virtual std::string Text(Handle element) = 0;
    // The font of a control's text, or of what is printed into a window. A size that
    // is not positive throws.
    virtual void SetFontName(Handle element, std::string_view name) = 0;
    virtual void SetFontSize(Handle element, int points) = 0;
    virtual void SetFontBold(Handle element, bool bold) = 0;
    // The colour of a control's text, or of what is drawn into a window.
    virtual void SetTextColour(Handle element, Farbe colour) = 0;
    // The colour behind a control or of a window; a window's drawing is cleared.
    virtual void SetBackColour(Handle element, Farbe colour) = 0;
    // The tip shown while the mouse rests on a control; a window has none (throws).
    virtual void SetToolTip(Handle element, std::string_view text) = 0;
    // Icon of a window or form, from a resource (":vork2").
    virtual void SetIcon(Handle window, std::string_view resource) = 0;
    // Picture of a picture control, from a resource (":setup").
    virtual void SetPicture(Handle picture, std::string_view resource) = 0;
    // A label drawn without its own background, so what lies below shows through.
    virtual void SetTransparent(Handle label, bool transparent) = 0;
    // A text box's border style: 0 none, 1 fixed single; another style throws.
    virtual void SetBorder(Handle textBox, int style) = 0;
    // A progress bar drawn as a smooth bar instead of blocks.
    virtual void SetSmooth(Handle progressBar, bool smooth) = 0;
    // An output surface that keeps what was drawn into it when it is repainted.
    virtual void SetAutoRedraw(Handle surface, bool keep) = 0;
    // A check box's tick.
    virtual void SetTicked(Handle checkBox, bool ticked) = 0;
    virtual bool Ticked(Handle checkBox) = 0;
    // A progress bar's range 0..maximum (100 at first; below 1 throws) and its value,
    // which is refused (throws), not clamped, outside the range.
    virtual void SetProgressMax(Handle progressBar, int maximum) = 0;
    virtual void SetProgress(Handle progressBar, int value) = 0;
    // Moves the top-left corner; (kOutOfView, kOutOfView) is out of view. Size never
    // changes.
    virtual void Move(Handle element, int x, int y) = 0;
    // Available (usable) or not; a control that is not available is greyed out.
    virtual void SetAvailable(Handle control, bool available) = 0;
    virtual bool Available(Handle control) = 0;
    // Gives a control the keyboard focus; one that is not available does not take it.
    // On the desktop faces the focus stays the program's choice until the user moves it.
    virtual void Focus(Handle control) = 0;
    // The mouse pointer over the program's windows: kBusyPointer, kArrowPointer or
    // kDefaultPointer.
    virtual void SetMousePointer(int shape) = 0;

    // --- Output into a window or a text area -----------------------------------
    // Every output operation works on the current output surface, and throws when
    // none is selected or it has closed. SelectOutput throws for an element that
    // takes no drawing (a window and a text area take it).
    virtual void SelectOutput(Handle surface) = 0;
    // Clears the surface and puts the print position at its top left.
    virtual void ClearOutput() = 0;
    // Colour of lines and printed text.
    virtual void SetForeColour(Farbe colour) = 0;
    // Size (not positive throws) and boldness of what is printed next.
    virtual void SetOutputFontSize(int points) = 0;
    virtual void SetOutputBold(bool bold) = 0;
    // A line from pixel (x1, y1) to (x2, y2) of the surface.
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    // Draws text with its top left at pixel (x, y) of the surface.
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    // Sets the print position to a text column and line, both counted from 1; below 1
    // throws.
    virtual void SetPrintPosition(int column, int line) = 0;
    // Prints a piece of a line without ending it.
    virtual void PrintItem(std::string_view text) = 0;
    // Prints text and ends the line; PrintLine("") prints an empty line.
    virtual void PrintLine(std::string_view text) = 0;

    // --- Alert, message, folder chooser ------------------------------------------
    // Modal alert. In `text` "|" breaks the line ("||" leaves an empty line);
    // `labels` holds the button labels separated by "|", blanks kept. Returns the
    // 1-based number of the pressed button. Style kAlertWarning shows the warning sign.
    virtual int Alert(int style, std::string_view text, int defaultButton,
                      std::string_view labels) = 0;
    // Modal message with one OK button. CR or LF breaks the line; `title` may be
    // empty; style kMessageStop shows the stop sign.
    virtual void Message(std::string_view text, std::string_view title, int style) = 0;
    // Modal folder chooser owned by `owner`. It opens with `start` selected (one
    // trailing backslash dropped) when that folder exists, else with the nearest
    // folder above it that exists, else at its own default; every face takes this
    // from FolderDialogStart (runtime/ui/script_player.h) and names it in the
    // transcript ("opens"). Returns the chosen folder as a Windows path ending in a backslash, or "" when
    // the user cancels or the choice has no file-system path. `flags` are the
    // shell's browse flags (kBrowseFileSystemOnly: file-system folders only). Throws
    // when `owner` is given and not open.
    virtual std::string BrowseForFolder(Handle owner, int flags, std::string_view title,
                                        std::string_view start) = 0;

    // --- The display ----------------------------------------------------------
    // The screen's size and colours, or what --system fixed (FaceOptions). Never throw.
    virtual int ScreenWidth() = 0;        // pixels
    virtual int ScreenHeight() = 0;       // pixels
    virtual int ScreenWidthTwips() = 0;   // twips (15 per pixel on a common screen)
    virtual int ScreenHeightTwips() = 0;
    virtual std::int64_t Colours() = 0;   // colours the display shows at once
};

// A byte range [offset, offset + length) of an open file.
struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// -------------------------------------------------------------------------------
// Host: files, settings, links and facts of the system.
// -------------------------------------------------------------------------------
class Host {
public:
    virtual ~Host() = default;

    // --- Files --------------------------------------------------------------------
    // Whether an ordinary file (not a folder) exists at `path`. False, not an error,
    // for a path this host cannot name.
    virtual bool FileExists(std::string_view path) = 0;
    // Whether a folder exists at `path` ("C:" is the drive's root). False, not an
    // error, for a path this host cannot name.
    virtual bool FolderExists(std::string_view path) = 0;
    // Directory search. `pattern` is a path whose last component may hold * and ?.
    // Lists ordinary files; attribute class kAttrFolder adds folders, kAttrHidden and
    // kAttrSystem add hidden and system files. Returns the first matching name (the
    // last component only), or "" when nothing matches or the folder is missing; "."
    // and ".." are never listed. Names are matched without regard to case.
    virtual std::string FindFirst(std::string_view pattern, int attributeClass) = 0;
    // The next name of the same search, "" at the end. Throws ("Es läuft keine
    // Verzeichnissuche.") when no search was begun.
    virtual std::string FindNext() = 0;
    // Attribute bits of the name the search found last (kAttrFolder, kAttrHidden,
    // kAttrSystem, kAttrReadOnly; no others: an ordinary file gives 0). Throws ("Die
    // Verzeichnissuche hat keinen Eintrag gefunden.") when the search found nothing or
    // is at its end.
    virtual int FoundAttributes() = 0;
    // Deletes an ordinary file. Throws when it is missing, a folder or read-only, or
    // held by another program. The running setup program's own file can be deleted
    // too, so that a removal started from the installed copy empties its folder (the
    // Windows host moves it into a new folder in the user's temporary folder, which
    // the next start removes).
    virtual void DeleteFile(std::string_view path) = 0;
    // Clears read-only, hidden and system. Throws when nothing is at `path`.
    virtual void ClearAttributes(std::string_view path) = 0;
    // Makes one folder level; throws when it exists or its parent is missing.
    virtual void MakeFolder(std::string_view path) = 0;
    // Removes an empty folder; throws when it is missing or not empty. Temporary
    // files that a killed write left in it do not count: they go with it. The setup
    // program's current folder can be removed too.
    virtual void RemoveFolder(std::string_view path) = 0;

    // Numbered files. OpenRead and OpenWrite return a file number; the other
    // operations throw for a number that is not open.
    // Opens an existing file for reading; throws when it is missing or unreadable.
    virtual int OpenRead(std::string_view path) = 0;
    // Opens `path` for writing. Throws at once when it cannot be written (folder
    // missing, read-only file, file in use, a folder of that name), also for the
    // superuser. What is written goes to a temporary file beside it; Close replaces
    // the target with it only when everything was written and flushed, so a failure
    // or a crash never leaves a half-written or emptied target. Temporary files that
    // a killed write of the same target left beside it are removed here.
    virtual int OpenWrite(std::string_view path) = 0;
    // The length of a file open for reading.
    virtual std::uint64_t Length(int file) = 0;
    // The next `count` bytes of a file open for reading; throws when fewer are left.
    virtual std::vector<std::uint8_t> Read(int file, std::size_t count) = 0;
    // Appends to a file open for writing; throws when the disk refuses it.
    virtual void Write(int file, std::span<const std::uint8_t> bytes) = 0;
    // Closes a file; for a written file, completes the write. Throws when the write
    // cannot be completed; the target then stays as it was.
    virtual void Close(int file) = 0;
    // Closes a file without completing a write: the target stays as it was and no
    // temporary file is left.
    virtual void Discard(int file) = 0;
    // Unpacks the packed stream made of the byte ranges `stream` of the open source
    // file (in this order) and writes the content to the open target file. Throws
    // Laufzeitfehler (German text naming the fault) when the stream is not a valid
    // packed stream: too short, not packed, truncated, checksum wrong, trailing bytes.
    // The host may decode on a second thread while this one writes; the call returns
    // only when both are done.
    virtual void Unpack(int source, std::span<const ByteRange> stream, int target) = 0;

    // --- Settings (per user), by application, section and key --------------------
    // Names match without regard to case. Every operation throws when the store
    // cannot be read or written, or a name is empty or could reach outside its place;
    // a write or delete that fails leaves the store as it was. A section may name
    // several levels ("Windows\CurrentVersion\Uninstall\X"), so that the program can
    // keep a record where the system looks for it; every level lies below the
    // application, and no name reaches above it.
    // The text of a value; "" when absent.
    virtual std::string ReadText(std::string_view application, std::string_view section,
                                 std::string_view key) = 0;
    // A value read as a decimal integer; `fallback` when absent or not a number.
    virtual std::int64_t ReadInt(std::string_view application, std::string_view section,
                                 std::string_view key, std::int64_t fallback) = 0;
    // Creates or replaces a value, with its section and application.
    virtual void WriteText(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view value) = 0;
    // Writes the integer as decimal text.
    virtual void WriteInt(std::string_view application, std::string_view section,
                          std::string_view key, std::int64_t value) = 0;
    // Deletes one value; throws when it is absent.
    virtual void DeleteKey(std::string_view application, std::string_view section,
                           std::string_view key) = 0;
    // Deletes a section with its values; the application stays. Throws when absent.
    virtual void DeleteSection(std::string_view application, std::string_view section) = 0;
    // Deletes an application with all its sections. Throws when absent.
    virtual void DeleteApplication(std::string_view application) = 0;
    // Writes a 32-bit number that the system's own tools read as a number (a DWORD in
    // the registry); a store without value types keeps it as decimal text. ReadInt
    // reads it back on every host. Throws when the store cannot be written.
    virtual void WriteDword(std::string_view application, std::string_view section,
                            std::string_view key, std::uint32_t value) = 0;
    // Deletes a section with all its values and every section below it, the whole
    // tree. A section that is not there is no failure. Throws when the store cannot be
    // read or the section cannot be deleted.
    virtual void DeleteSectionTree(std::string_view application, std::string_view section) = 0;

    // --- System ---------------------------------------------------------------------
    // The system's folders and facts below throw only when the system cannot name them.
    // The folder that holds the running setup program, no trailing backslash.
    virtual std::string ProgramFolder() = 0;
    // The folder Windows is installed in ("C:\WINDOWS").
    virtual std::string WindowsFolder() = 0;
    // The programs folder of the Start menu.
    virtual std::string ProgramsFolder() = 0;
    // The user's own folder for programs, which needs no administrator rights to
    // write; made when it is missing.
    virtual std::string UserProgramFilesFolder() = 0;
    // The user's own desktop folder.
    virtual std::string UserDesktopFolder() = 0;
    // The target of the next link that CreateLink makes; checked there.
    virtual void SetLinkTarget(std::string_view target) = 0;
    // Writes a shell link file at `path` pointing at the target set before, its
    // working folder the target's folder; replaces a link of that name. Throws when no
    // target is set, the folder is missing or `path` cannot be written.
    virtual void CreateLink(std::string_view path) = 0;
    // The Windows version word: negative on the 9x family, not negative on NT.
    virtual std::int32_t VersionWord() = 0;
    // The processor signature as the identification instruction gives it (bits 0-3
    // stepping, 4-7 model, 8-11 family).
    virtual std::uint32_t ProcessorSignature() = 0;
    // A short identification of this build ("2026-12-06").
    virtual std::string BuildText() = 0;
    // Today's date on the local clock, "YYYYMMDD".
    virtual std::string LocalDate() = 0;

    // --- For the faces, not the program: path mapping ------------------------------
    // The Windows path that names a host path ("/home/a" -> "Z:\home\a"), and back.
    // Both throw for a path the other side cannot name (relative, another drive).
    virtual std::string WindowsPath(std::string_view hostPath) = 0;
    virtual std::string HostPath(std::string_view windowsPath) = 0;
};

// What the program is given: the two halves of the runtime.
struct Laufzeit {
    Face& ui;
    Host& host;
};

}  // namespace kaldorin
