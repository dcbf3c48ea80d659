// Helpers for the Wine integration tests: processes, windows, dialogs, the
// registry of the test prefix, screenshots and the stand-in desktop shell.
// Every wait polls with a deadline and pumps the calling thread's messages, so
// a test may own windows while it waits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace harness {

// ---- Waiting -------------------------------------------------------------

constexpr DWORD kDefaultTimeoutMs = 10000;

// Polls `done` until it is true or `timeoutMs` has passed; pumps messages in
// between. Returns the last result of `done`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kDefaultTimeoutMs);

// Dispatches the calling thread's pending messages for `ms` milliseconds.
void PumpMessages(DWORD ms = 0);

// True when `holds` stays true for the whole of `ms`: for what must not
// happen, where no event could end the wait early.
bool HoldsFor(const std::function<bool()>& holds, DWORD ms);

// ---- Input, as the keyboard and the mouse give it (SendInput) -------------

// Presses and releases key `vk`.
void PressKey(WORD vk);
// Presses `keys` in order and lets go in reverse: {VK_CONTROL, VK_SHIFT, 'A'}.
void PressKeys(std::initializer_list<WORD> keys);

// A wheel turn of nothing: mouse input that moves nothing.
void TurnWheel();
// The pointer jumps to `screen`, followed by mouse input (TurnWheel):
// SetCursorPos alone is no input, and a program that sleeps until the mouse
// is used would not see it.
void MoveMouse(POINT screen);
// Moves there, then presses and releases: `down` and `up` are button flags
// (MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP...). The press and the release
// carry the place themselves, so a pointer that Wine put back meanwhile does
// not move the click.
void Click(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);

// ---- Paths ---------------------------------------------------------------

// Folder of the running test program: <builddir>\bin, beside Tessara.exe,
// deskhook.dll and deskshell.exe. No trailing backslash.
std::string BinDir();

// <builddir>\RELATIVE (folders created as needed for the parent of the path).
std::string BuildPath(const std::string& relative);

// An ANSI text in UTF-16.
std::wstring Widened(const std::string& text);

// A file name under <builddir>\testdata\ unique to this process and call.
std::string TempFile(const std::string& stem);

// While it lives, TMP and TEMP of this process, and so of the programs it
// starts, name a folder under <builddir>\testdata\ whose name lies outside
// code page 1252, the test prefix's ANSI code page.
class TemporaryFolderOutsideTheCodePage {
  public:
    TemporaryFolderOutsideTheCodePage();
    ~TemporaryFolderOutsideTheCodePage();
    TemporaryFolderOutsideTheCodePage(const TemporaryFolderOutsideTheCodePage&) = delete;
    TemporaryFolderOutsideTheCodePage& operator=(const TemporaryFolderOutsideTheCodePage&) = delete;

    // With its closing backslash, as GetTempPath gives it.
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
    std::optional<std::wstring> tmp_;
    std::optional<std::wstring> temp_;
};

// ---- Processes -----------------------------------------------------------

// A child process. Destroying a still-running Process terminates it.
class Process {
  public:
    // Starts `program` (a file name resolves to BinDir()) with `args` appended
    // to the command line as given. Check Running() or Pid() for success.
    static Process Start(const std::string& program, const std::string& args = "");
    // The same for a program whose path is outside the ANSI code page.
    static Process Start(const std::wstring& path, const std::string& args = "");

    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // Exit code once it has ended within `timeoutMs`, else nothing.
    std::optional<DWORD> WaitExit(DWORD timeoutMs = kDefaultTimeoutMs);
    // Terminates (if running) and waits for the end.
    void Terminate(UINT exitCode = 1);

  private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Suspends (or resumes) every thread of process `pid`, as a debugger stops a
// program; the number of threads reached.
int SuspendProcess(DWORD pid, bool suspend);

// Whether process `pid` has the library `name` ("windowscodecs.dll") loaded.
bool HasLoaded(DWORD pid, const std::string& name);

// Top-level window of the given class and/or exact title (nullptr: any),
// optionally of process `pid` (0: any). Hidden windows count too.
HWND FindTopLevel(const char* className, const char* title, DWORD pid = 0);
// The same, polling until found or the timeout has passed (nullptr then).
HWND WaitForWindow(const char* className, const char* title, DWORD pid = 0,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until `hwnd` no longer exists.
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);

std::string WindowText(HWND hwnd);
// The text as UTF-16, exact where the ANSI code page lacks a character.
std::wstring ExactWindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
DWORD WindowPid(HWND hwnd);

// ---- Message boxes and dialogs -------------------------------------------

// Waits for a shown dialog ("#32770") with exactly this caption (any caption
// when empty), optionally of `pid`.
HWND WaitForDialog(const std::string& caption, DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);
// The message text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND dialog);
// Text of the dialog's control `id` ("" when there is none).
std::string ControlText(HWND dialog, int id);
// Presses button `id` as a click would (WM_COMMAND BN_CLICKED posted to the
// dialog). False when the dialog has no such control.
bool PressButton(HWND dialog, int id);

// ---- Registry of the test prefix -----------------------------------------

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;

    std::optional<DWORD> AsDword() const;
    // REG_SZ / REG_EXPAND_SZ without the terminating zero.
    std::optional<std::string> AsString() const;
};

std::optional<RegValue> RegRead(HKEY root, const std::string& key, const std::string& name);
bool RegWrite(HKEY root, const std::string& key, const std::string& name, DWORD type,
              const void* data, DWORD size);
bool RegWriteBinary(HKEY root, const std::string& key, const std::string& name,
                    const std::vector<uint8_t>& data);
bool RegWriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool RegWriteString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value);
// True when the value is gone afterwards (also when it never existed).
bool RegDeleteValue(HKEY root, const std::string& key, const std::string& name);
// Deletes the key with all its subkeys; true when it is gone afterwards.
bool RegDeleteKeyTree(HKEY root, const std::string& key);

// While it lives, every RegSetValueEx call made by this program's own code
// (the product code linked into the test included) fails with `error`, as a
// full registry or a used-up registry quota makes it fail on Windows. Wine 8
// cannot be made to refuse the write of a key opened with full access: its
// server checks a key's security at the open and fails a set afterwards only
// for a deleted key. So this replaces the entry of this executable's import
// table; system DLLs keep the real function.
class RegistryWritesRefused {
  public:
    explicit RegistryWritesRefused(LONG error = ERROR_NO_SYSTEM_RESOURCES);
    ~RegistryWritesRefused();
    RegistryWritesRefused(const RegistryWritesRefused&) = delete;
    RegistryWritesRefused& operator=(const RegistryWritesRefused&) = delete;

    // Whether an import was found and replaced.
    bool Active() const { return !replaced_.empty(); }

  private:
    struct Replaced {
        void** slot;
        void* original;
    };
    std::vector<Replaced> replaced_;
};

// ---- Screenshots ---------------------------------------------------------

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top-down rows, 3 bytes a pixel

    COLORREF Pixel(int x, int y) const;
};

// The whole virtual desktop as it is on screen now.
Image CaptureScreen();
// Captures the screen into <builddir>\screenshots\NAME.png; returns the path
// ("" on failure).
std::string Screenshot(const std::string& name);
// Captures the screen into the PNG file `path`.
bool ScreenshotTo(const std::string& path);
// Reads a PNG written by the harness (8-bit RGB, stored deflate blocks).
std::optional<Image> ReadPng(const std::string& path);

// ---- The stand-in desktop shell (deskshell.exe) --------------------------

struct ShellOptions {
    int icons = -1;           // -icons N: "Icon 1".."Icon N"; -1: the default dozen captions
    std::string iconsFile;    // -icons-file PATH: one caption a line
    bool autoArrange = false; // -autoarrange
    int layout = 0;           // -layout: where the view hangs (ViewLayout of deskshell_protocol.h)
    std::string extraArgs;    // appended as given
    std::string program = "deskshell.exe"; // another build's stand-in: a full path

    static ShellOptions WithIcons(int count) {
        ShellOptions options;
        options.icons = count;
        return options;
    }
};

struct ShellIcon {
    int index = 0;
    POINT position{};
    RECT bounds{};
    RECT label{};
    std::string caption;
};

// One item of the shell's open context menu (see deskshell_protocol.h).
struct ShellMenuItem {
    int depth = 0;    // 0: the context menu itself, 1: a submenu of it
    int position = 0; // within its own menu
    UINT id = 0;      // 0 for separators and submenus
    UINT state = 0;   // GetMenuState flags: MF_GRAYED, MF_CHECKED, MF_SEPARATOR, MF_POPUP...
    RECT rect{};      // on screen; empty while its menu is not shown
    std::string text;
};

struct ShellEvent {
    std::string window; // "progman", "defview", "listview" or "menu"
    UINT message = 0;
    WPARAM wParam = 0;
    std::string text; // for "menu": the items, "|"-separated
};

// The running stand-in shell. Start closes any shell left over by an earlier
// test first; destroying the object stops the shell.
class Shell {
  public:
    Shell() = default;
    Shell(Shell&&) noexcept = default;
    Shell& operator=(Shell&&) noexcept = default;
    ~Shell();

    // Starts deskshell.exe and waits until its list view exists and holds its icons.
    bool Start(const ShellOptions& options = {});
    // Closes it (WM_CLOSE, then termination if needed) and waits for the end.
    void Stop();
    // Stop + Start with the same options: a new "Progman" window.
    bool Restart();

    DWORD Pid() const { return process_.Pid(); }
    bool Running() const { return process_.Running(); }
    HWND Progman() const { return progman_; }
    HWND DefView() const { return defView_; }
    HWND ListView() const { return listView_; }

    int IconCount() const;
    std::vector<ShellIcon> Layout() const;
    int Add(const std::string& caption) const;
    // A caption that may hold characters outside the ANSI code page.
    int AddUnicode(const std::wstring& caption) const;
    bool Remove(int index) const;
    bool SetAutoArrange(bool on) const;
    bool IsListViewSubclassed() const;
    // The cursor display count of the shell's window thread.
    int CursorCount() const;
    // Makes the shell's window thread stop answering for `ms` milliseconds.
    void Freeze(DWORD ms) const;
    // Icon `index` gets its caption by callback, and the next read of it
    // takes `ms` milliseconds (deskshell_protocol.h, SlowCaption).
    bool SlowCaption(int index, DWORD ms) const;
    // Replaces the list view by a new one with the same icons under the same
    // "Progman"; ListView() is the new one afterwards.
    bool RecreateListView();
    // Moves the view, list view and all, where `layout` (a ViewLayout) puts it,
    // as Explorer does when a wallpaper layer is asked for; DefView() follows.
    bool MoveView(int layout);
    // The messages recorded since the last call (see deskshell_protocol.h).
    std::vector<ShellEvent> TakeEvents() const;
    void Refresh() const;
    // The context menu of SHELLDLL_DefView while it is open (empty otherwise).
    std::vector<ShellMenuItem> OpenMenu() const;
    // SHELLDLL_DefView's window procedure is not its class's.
    bool IsViewSubclassed() const;
    // Selects icon `index`; the list view tells its parent with LVN_ITEMCHANGED.
    bool SelectIcon(int index) const;

  protected:
    LRESULT Command(unsigned long command, const void* data, DWORD size) const;

  private:
    bool FindWindows();

    ShellOptions options_;
    Process process_;
    HWND progman_ = nullptr;
    HWND defView_ = nullptr;
    HWND listView_ = nullptr;
};

// ---- The shell's own desktop view (shellview.exe) -------------------------

struct ShellViewOptions {
    bool autoArrange = false; // keep the Auto Arrange the view starts with
    int layout = 0;           // ViewLayout: Progman or WorkerW
};

// shell32's own view of the Desktop folder, hosted as Explorer hosts it
// (testbed/shellview). Its icons are the Desktop folder's items, which the
// test changes through the files. The Shell calls that act on the stand-in's
// own icons (Add, Remove, RecreateListView...) do not apply.
class ShellView : public Shell {
  public:
    // Starts shellview.exe over a Desktop folder of the test bed's own,
    // holding just `files` (empty files of these names).
    bool Start(const std::vector<std::string>& files, const ShellViewOptions& options = {});

    // The Desktop folder the view shows, no trailing backslash.
    static std::string DesktopFolder();

    // Each creates (empty), deletes or renames a file in the Desktop folder,
    // tells the view and waits until its list view shows the change.
    bool AddFile(const std::string& name) const;
    bool RemoveFile(const std::string& name) const;
    bool RenameFile(const std::string& from, const std::string& to) const;

    // The icon with this caption, or nothing. (Files without an extension
    // keep their name as the caption whatever the view's settings.)
    std::optional<ShellIcon> Icon(const std::string& caption) const;

  private:
    bool Announce(LONG event, const std::string& path, const std::string& newPath = "") const;
};

// Closes every "Progman" window that a stand-in shell owns.
void CloseAllShells();

// The visible taskbar of the virtual desktop, or nullptr.
HWND Taskbar();

} // namespace harness
