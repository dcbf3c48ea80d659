#include "tests/harness/harness.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace harness {
namespace {

constexpr DWORD kCommandTimeoutMs = 10000;

std::string CommandLineOf(const ShellOptions& options) {
    std::string args;
    if (options.icons >= 0)
        args += " -icons " + std::to_string(options.icons);
    if (!options.iconsFile.empty())
        args += " -icons-file \"" + options.iconsFile + "\"";
    if (options.autoArrange)
        args += " -autoarrange";
    if (options.layout != 0)
        args += std::string(" -layout ") + kViewLayoutNames[options.layout];
    if (!options.extraArgs.empty())
        args += " " + options.extraArgs;
    return args.empty() ? args : args.substr(1);
}

std::vector<std::string> ReadLinesAndDelete(const std::string& path) {
    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
    }
    DeleteFileA(path.c_str());
    return lines;
}

std::optional<ShellIcon> ParseIcon(const std::string& line) {
    std::istringstream in(line);
    ShellIcon icon;
    RECT& b = icon.bounds;
    RECT& l = icon.label;
    if (!(in >> icon.index >> icon.position.x >> icon.position.y >> b.left >> b.top >> b.right >>
          b.bottom >> l.left >> l.top >> l.right >> l.bottom))
        return std::nullopt;
    in.get(); // the space before the caption
    std::getline(in, icon.caption);
    return icon;
}

ShellEvent ParseEvent(const std::string& line) {
    std::istringstream in(line);
    ShellEvent event;
    unsigned long long wParam = 0;
    in >> event.window >> event.message >> wParam;
    event.wParam = static_cast<WPARAM>(wParam);
    in.get();
    std::getline(in, event.text);
    return event;
}

std::optional<ShellMenuItem> ParseMenuItem(const std::string& line) {
    std::istringstream in(line);
    ShellMenuItem item;
    RECT& r = item.rect;
    if (!(in >> item.depth >> item.position >> item.id >> item.state >> r.left >> r.top >>
          r.right >> r.bottom))
        return std::nullopt;
    in.get();
    std::getline(in, item.text);
    return item;
}

HWND FindChild(HWND parent, const char* className) {
    return parent ? FindWindowExA(parent, nullptr, className, nullptr) : nullptr;
}

// The shell names its view window itself, wherever its layout hangs it.
HWND ViewOf(HWND progman) {
    COPYDATASTRUCT copy{static_cast<unsigned long>(ShellCommand::DefView), 0, nullptr};
    DWORD_PTR view = 0;
    if (!SendMessageTimeoutA(progman, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                             kCommandTimeoutMs, &view))
        return nullptr;
    return reinterpret_cast<HWND>(view);
}

void CloseShellWindow(HWND progman) {
    DWORD pid = WindowPid(progman);
    PostMessageA(progman, WM_CLOSE, 0, 0);
    if (WaitForWindowGone(progman, 5000))
        return;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kDefaultTimeoutMs);
        CloseHandle(process);
    }
}

} // namespace

void CloseAllShells() {
    while (HWND progman = FindTopLevel("Progman", "Program Manager"))
        CloseShellWindow(progman);
}

Shell::~Shell() {
    Stop();
}

bool Shell::Start(const ShellOptions& options) {
    Stop();
    CloseAllShells();
    options_ = options;
    process_ = Process::Start(options.program, CommandLineOf(options));
    if (!process_.Running())
        return false;
    if (!WaitUntil([&] { return FindWindows() || !process_.Running(); }, 20000) || !FindWindows())
        return false;
    // The list view lays its icons out once more while the shell handles its
    // first messages after showing; icons moved before that would go back.
    WaitForInputIdle(process_.Handle(), 20000);
    return true;
}

bool Shell::FindWindows() {
    HWND progman = FindTopLevel("Progman", "Program Manager", process_.Pid());
    if (!progman || !IsWindowVisible(progman))
        return false;
    HWND defView = ViewOf(progman);
    HWND listView = FindChild(defView, "SysListView32");
    if (!listView)
        return false;
    progman_ = progman;
    defView_ = defView;
    listView_ = listView;
    return true;
}

void Shell::Stop() {
    if (progman_ && process_.Running()) {
        PostMessageA(progman_, WM_CLOSE, 0, 0);
        process_.WaitExit(5000);
    }
    process_.Terminate();
    process_ = Process();
    progman_ = defView_ = listView_ = nullptr;
}

bool Shell::Restart() {
    ShellOptions options = options_;
    return Start(options);
}

LRESULT Shell::Command(unsigned long command, const void* data, DWORD size) const {
    COPYDATASTRUCT copy{command, size, const_cast<void*>(data)};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(progman_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                             SMTO_ABORTIFHUNG, kCommandTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

int Shell::IconCount() const {
    return static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<ShellIcon> Shell::Layout() const {
    std::string path = TempFile("layout");
    std::vector<ShellIcon> icons;
    if (Command(static_cast<unsigned long>(ShellCommand::WriteLayout), path.c_str(),
                static_cast<DWORD>(path.size() + 1)) < 0)
        return icons;
    for (const std::string& line : ReadLinesAndDelete(path)) {
        if (auto icon = ParseIcon(line))
            icons.push_back(*icon);
    }
    return icons;
}

int Shell::Add(const std::string& caption) const {
    return static_cast<int>(Command(static_cast<unsigned long>(ShellCommand::Add), caption.data(),
                                    static_cast<DWORD>(caption.size())));
}

int Shell::AddUnicode(const std::wstring& caption) const {
    return static_cast<int>(Command(static_cast<unsigned long>(ShellCommand::AddUnicode),
                                    caption.data(),
                                    static_cast<DWORD>(caption.size() * sizeof(wchar_t))));
}

bool Shell::Remove(int index) const {
    int32_t value = index;
    return Command(static_cast<unsigned long>(ShellCommand::Remove), &value, sizeof value) == 1;
}

bool Shell::SetAutoArrange(bool on) const {
    int32_t value = on ? 1 : 0;
    return Command(static_cast<unsigned long>(ShellCommand::SetAutoArrange), &value,
                   sizeof value) == 1;
}

bool Shell::IsListViewSubclassed() const {
    return Command(static_cast<unsigned long>(ShellCommand::IsSubclassed), nullptr, 0) == 1;
}

int Shell::CursorCount() const {
    return static_cast<int>(
        Command(static_cast<unsigned long>(ShellCommand::CursorCount), nullptr, 0));
}

void Shell::Freeze(DWORD ms) const {
    PostMessageA(progman_, kFreezeMessage, ms, 0);
}

std::vector<ShellEvent> Shell::TakeEvents() const {
    std::string path = TempFile("events");
    std::vector<ShellEvent> events;
    if (Command(static_cast<unsigned long>(ShellCommand::WriteEvents), path.c_str(),
                static_cast<DWORD>(path.size() + 1)) < 0)
        return events;
    for (const std::string& line : ReadLinesAndDelete(path))
        events.push_back(ParseEvent(line));
    return events;
}

bool Shell::RecreateListView() {
    return Command(static_cast<unsigned long>(ShellCommand::RecreateListView), nullptr, 0) == 1 &&
           FindWindows();
}

bool Shell::MoveView(int layout) {
    const int32_t value = layout;
    return Command(static_cast<unsigned long>(ShellCommand::MoveView), &value, sizeof value) == 1 &&
           FindWindows();
}

void Shell::Refresh() const {
    Command(static_cast<unsigned long>(ShellCommand::Refresh), nullptr, 0);
}

std::vector<ShellMenuItem> Shell::OpenMenu() const {
    std::string path = TempFile("menu");
    std::vector<ShellMenuItem> items;
    if (Command(static_cast<unsigned long>(ShellCommand::WriteMenu), path.c_str(),
                static_cast<DWORD>(path.size() + 1)) < 0)
        return items;
    for (const std::string& line : ReadLinesAndDelete(path))
        if (auto item = ParseMenuItem(line))
            items.push_back(*item);
    return items;
}

bool Shell::IsViewSubclassed() const {
    return Command(static_cast<unsigned long>(ShellCommand::IsViewSubclassed), nullptr, 0) == 1;
}

bool Shell::SelectIcon(int index) const {
    int32_t value = index;
    return Command(static_cast<unsigned long>(ShellCommand::SelectIcon), &value, sizeof value) == 1;
}

bool Shell::SlowCaption(int index, DWORD ms) const {
    const int32_t args[2] = {index, static_cast<int32_t>(ms)};
    return Command(static_cast<unsigned long>(ShellCommand::SlowCaption), args, sizeof args) == 1;
}

} // namespace harness
