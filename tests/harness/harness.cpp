#include "tests/harness/harness.h"

#include <tlhelp32.h>

#include <atomic>
#include <iterator>
#include <utility>

namespace harness {

// ---- Waiting -------------------------------------------------------------

void PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms == 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool HoldsFor(const std::function<bool()>& holds, DWORD ms) {
    return !WaitUntil([&] { return !holds(); }, ms);
}

// ---- Input ---------------------------------------------------------------

namespace {

INPUT KeyInput(WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    return input;
}

// MOUSEEVENTF_ABSOLUTE spans the primary screen with 0..65535, and the system
// takes pixel dx * width / 65536, rounded down: rounding up here lands on
// exactly `pixel`.
LONG AbsoluteCoordinate(LONG pixel, int screenSize) {
    return LONG((pixel * 65536LL + screenSize - 1) / screenSize);
}

INPUT MouseInputAt(POINT screen, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = AbsoluteCoordinate(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = AbsoluteCoordinate(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return input;
}

} // namespace

void PressKey(WORD vk) {
    PressKeys({vk});
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(KeyInput(vk, 0));
    for (auto vk = std::rbegin(keys); vk != std::rend(keys); ++vk)
        inputs.push_back(KeyInput(*vk, KEYEVENTF_KEYUP));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TurnWheel() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    SendInput(1, &input, sizeof input);
}

void MoveMouse(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    TurnWheel();
    PumpMessages(20);
    // Under Wine, input from a process that does not own the X pointer can
    // put the pointer back where it was: the jump is repeated once the input
    // has gone through.
    SetCursorPos(screen.x, screen.y);
    PumpMessages(20);
}

void Click(POINT screen, DWORD down, DWORD up) {
    MoveMouse(screen);
    INPUT inputs[] = {MouseInputAt(screen, down), MouseInputAt(screen, up)};
    SendInput(2, inputs, sizeof(INPUT));
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// ---- Paths ---------------------------------------------------------------

namespace {

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void CreateFolders(const std::string& folder) {
    if (folder.empty() || GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    std::string parent = ParentOf(folder);
    if (parent != folder)
        CreateFolders(parent);
    CreateDirectoryA(folder.c_str(), nullptr);
}

} // namespace

std::wstring Widened(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string BinDir() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ParentOf(std::string(path, length));
}

std::string BuildPath(const std::string& relative) {
    std::string path = ParentOf(BinDir()) + "\\" + relative;
    CreateFolders(ParentOf(path));
    return path;
}

std::string TempFile(const std::string& stem) {
    static std::atomic<int> counter{0};
    return BuildPath("testdata\\" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(counter++) + ".tmp");
}

namespace {

std::optional<std::wstring> Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::optional<std::wstring>(value) : std::nullopt;
}

void SetEnvironment(const wchar_t* name, const std::optional<std::wstring>& value) {
    SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
}

} // namespace

TemporaryFolderOutsideTheCodePage::TemporaryFolderOutsideTheCodePage()
    : path_(Widened(BuildPath("testdata")) + L"\\临时 🌍\\"), tmp_(Environment(L"TMP")),
      temp_(Environment(L"TEMP")) {
    CreateDirectoryW(path_.c_str(), nullptr);
    SetEnvironment(L"TMP", path_);
    SetEnvironment(L"TEMP", path_);
}

TemporaryFolderOutsideTheCodePage::~TemporaryFolderOutsideTheCodePage() {
    SetEnvironment(L"TMP", tmp_);
    SetEnvironment(L"TEMP", temp_);
}

// ---- Processes -----------------------------------------------------------

Process Process::Start(const std::string& program, const std::string& args) {
    std::string path =
        program.find_first_of("\\/") == std::string::npos ? BinDir() + "\\" + program : program;
    return Start(Widened(path), args);
}

Process Process::Start(const std::wstring& path, const std::string& args) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!args.empty())
        commandLine += L" " + Widened(args);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       Widened(BinDir()).c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process.process_ = info.hProcess;
        process.pid_ = info.dwProcessId;
    }
    return process;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Terminate();
        if (process_)
            CloseHandle(process_);
        process_ = std::exchange(other.process_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Terminate();
    if (process_)
        CloseHandle(process_);
}

bool Process::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(DWORD timeoutMs) {
    if (!process_ || !WaitUntil([&] { return !Running(); }, timeoutMs))
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::Terminate(UINT exitCode) {
    if (!Running())
        return;
    TerminateProcess(process_, exitCode);
    WaitForSingleObject(process_, kDefaultTimeoutMs);
}

int SuspendProcess(DWORD pid, bool suspend) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    int reached = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (!thread)
            continue;
        if ((suspend ? SuspendThread(thread) : ResumeThread(thread)) != DWORD(-1))
            ++reached;
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return reached;
}

bool HasLoaded(DWORD pid, const std::string& name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more && !found;
         more = Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, name.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

// ---- Windows -------------------------------------------------------------

std::string WindowText(HWND hwnd) {
    char text[1024] = "";
    // WM_GETTEXT reaches other processes' controls too (GetWindowText does not).
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::wstring ExactWindowText(HWND hwnd) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string ClassName(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

DWORD WindowPid(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

namespace {

struct WindowQuery {
    const char* className;
    const char* title;
    DWORD pid;
    HWND found;
};

bool Matches(HWND hwnd, const WindowQuery& query) {
    if (query.pid && WindowPid(hwnd) != query.pid)
        return false;
    if (query.className && ClassName(hwnd) != query.className)
        return false;
    return !query.title || WindowText(hwnd) == query.title;
}

BOOL CALLBACK CheckWindow(HWND hwnd, LPARAM lParam) {
    auto& query = *reinterpret_cast<WindowQuery*>(lParam);
    if (!Matches(hwnd, query))
        return TRUE;
    query.found = hwnd;
    return FALSE;
}

} // namespace

HWND FindTopLevel(const char* className, const char* title, DWORD pid) {
    WindowQuery query{className, title, pid, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(const char* className, const char* title, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(className, title, pid)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(hwnd); }, timeoutMs);
}

// ---- Message boxes and dialogs -------------------------------------------

// A dialog box shows itself only once its controls exist and WM_INITDIALOG
// has run, so a dialog counts as there when it is visible.
HWND WaitForDialog(const std::string& caption, DWORD pid, DWORD timeoutMs) {
    const char* title = caption.empty() ? nullptr : caption.c_str();
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            dialog = FindTopLevel("#32770", title, pid);
            return dialog && IsWindowVisible(dialog);
        },
        timeoutMs);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::string();
}

std::string MessageBoxText(HWND dialog) {
    return ControlText(dialog, 0xFFFF);
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

HWND Taskbar() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    return taskbar && IsWindowVisible(taskbar) ? taskbar : nullptr;
}

} // namespace harness
