#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <optional>

namespace deskshell {
namespace {

std::string TextOf(const COPYDATASTRUCT& data) {
    const char* bytes = static_cast<const char*>(data.lpData);
    std::string text(bytes ? bytes : "", bytes ? data.cbData : 0);
    return text.substr(0, text.find('\0'));
}

std::wstring UnitsOf(const COPYDATASTRUCT& data) {
    std::wstring text(data.lpData ? data.cbData / sizeof(wchar_t) : 0, L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.lpData, text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::optional<int32_t> IntOf(const COPYDATASTRUCT& data) {
    if (data.cbData != sizeof(int32_t) || !data.lpData)
        return std::nullopt;
    int32_t value;
    std::memcpy(&value, data.lpData, sizeof value);
    return value;
}

bool IsListViewSubclassed() {
    return GetWindowLongPtrA(g_windows.listView, GWLP_WNDPROC) != g_windows.originalProcA ||
           GetWindowLongPtrW(g_windows.listView, GWLP_WNDPROC) != g_windows.originalProcW;
}

bool IsViewSubclassed() {
    HWND view = g_windows.defView;
    auto procA = static_cast<ULONG_PTR>(GetWindowLongPtrA(view, GWLP_WNDPROC));
    auto procW = static_cast<ULONG_PTR>(GetWindowLongPtrW(view, GWLP_WNDPROC));
    return procA != GetClassLongPtrA(view, GCLP_WNDPROC) ||
           procW != GetClassLongPtrW(view, GCLP_WNDPROC);
}

bool SelectIcon(int index) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(g_windows.listView, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    return SendMessageA(g_windows.listView, LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0;
}

// ShowCursor returns the new count; taking one step down and back reads it
// without leaving a change behind.
int CursorDisplayCount() {
    const int count = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    return count;
}

} // namespace

LRESULT OnCopyData(const COPYDATASTRUCT& data) {
    switch (static_cast<ShellCommand>(data.dwData)) {
    case ShellCommand::Add:
        return AddIcon(TextOf(data));
    case ShellCommand::AddUnicode:
        return AddIcon(UnitsOf(data));
    case ShellCommand::Remove: {
        auto index = IntOf(data);
        return index && RemoveIcon(*index);
    }
    case ShellCommand::WriteLayout:
        return WriteLayout(TextOf(data));
    case ShellCommand::SetAutoArrange: {
        auto on = IntOf(data);
        if (!on)
            return 0;
        SetAutoArrange(*on != 0);
        return 1;
    }
    case ShellCommand::IsSubclassed:
        return IsListViewSubclassed();
    case ShellCommand::WriteEvents:
        return WriteEvents(TextOf(data));
    case ShellCommand::Refresh:
        RefreshDesktop();
        return 1;
    case ShellCommand::CursorCount:
        return CursorDisplayCount();
    case ShellCommand::RecreateListView:
        return RecreateListView();
    case ShellCommand::MoveView: {
        auto layout = IntOf(data);
        return layout && MoveView(*layout);
    }
    case ShellCommand::DefView:
        return reinterpret_cast<LRESULT>(g_windows.defView);
    case ShellCommand::WriteMenu:
        return WriteOpenMenu(TextOf(data));
    case ShellCommand::IsViewSubclassed:
        return IsViewSubclassed();
    case ShellCommand::SelectIcon: {
        auto index = IntOf(data);
        return index && SelectIcon(*index);
    }
    case ShellCommand::SlowCaption: {
        int32_t args[2];
        if (data.cbData != sizeof args || !data.lpData)
            return 0;
        std::memcpy(args, data.lpData, sizeof args);
        return SlowCaption(args[0], static_cast<DWORD>(args[1]));
    }
    case ShellCommand::AnnounceChange: // the stand-in's icons are no files
        break;
    }
    return -1;
}

} // namespace deskshell
