#include "ui/hot_keys_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/instance_data.h"
#include "settings/settings.h"
#include "ui/hot_keys.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <array>

namespace {

// The dialog's working state: nothing reaches the settings before "OK".
struct HotKeyDialog {
    HWND settingsWindow = nullptr;
    std::array<bool, kHotKeyCount> on{};
    std::array<HWND, kHotKeyCount> field{};
};

constexpr std::size_t kShowIconsHotKey = 1;
constexpr std::size_t kLayoutHotKey = 2;
constexpr std::size_t kPositionHotKey = 3;

// The fields are created in this order; the focus ends on the last of
// kFocusOrder.
constexpr std::size_t kCreationOrder[] = {kShowIconsHotKey, kShowHideHotKey, kLayoutHotKey,
                                          kPositionHotKey};
constexpr std::size_t kFocusOrder[] = {kPositionHotKey, kLayoutHotKey, kShowIconsHotKey,
                                       kShowHideHotKey};
constexpr std::size_t kPointerOrder[] = {kShowHideHotKey, kShowIconsHotKey, kLayoutHotKey,
                                         kPositionHotKey};

const char* Caption() {
    return g_app.caption[0] ? g_app.caption : kProgramName;
}

bool RegisterOne(HWND window, const HotKey& hotKey) {
    const int32_t code = g_settings.*hotKey.code;
    return RegisterHotKey(window, hotKey.registrationId, HotKeyModifiers(code),
                          HotKeyVirtualKey(code)) != FALSE;
}

void ReportTaken(HWND window, const HotKey& hotKey) {
    const std::string text = HotKeyFailureText(hotKey, GetHotKeyText(g_settings.*hotKey.code));
    QuietMessageBox(window, text.c_str(), Caption(), MB_OK | MB_ICONERROR);
}

// ---- The dialog --------------------------------------------------------------

HotKeyDialog& StateOf(HWND dialog) {
    return *reinterpret_cast<HotKeyDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HotKeyRect WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

int32_t FieldCode(HWND field) {
    return int32_t(LOWORD(SendMessageA(field, HKM_GETHOTKEY, 0, 0)));
}

void SetFieldCode(HWND field, int32_t code) {
    SendMessageA(field, HKM_SETHOTKEY, WPARAM(code & 0xFFFF), 0);
}

// A key field beside its check box, next in the tab order; a key alone or
// with Shift alone becomes the key with Alt.
HWND CreateKeyField(HWND dialog, HWND checkBox, const TEXTMETRICA& metrics) {
    const HotKeyRect rect =
        HotKeyFieldRect(WindowRectOf(checkBox), WindowRectOf(dialog), GetSystemMetrics(SM_CXSIZE),
                        metrics.tmAveCharWidth, metrics.tmHeight);
    HWND field = CreateWindowExA(
        0, HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, dialog, nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    SetWindowPos(field, checkBox, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(field, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
    SendMessageA(field, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return field;
}

void CreateKeyFields(HWND dialog, HotKeyDialog& state) {
    TEXTMETRICA metrics{};
    {
        WindowDc dc(dialog);
        GetTextMetricsA(dc.get(), &metrics);
    }
    for (std::size_t i : kCreationOrder) {
        const HotKey& hotKey = ProgramHotKeys()[i];
        state.field[i] = CreateKeyField(dialog, GetDlgItem(dialog, hotKey.checkBoxId), metrics);
        SetFieldCode(state.field[i], g_settings.*hotKey.code);
    }
}

void ApplyEnabling(const HotKeyDialog& state, std::size_t i) {
    EnableWindow(state.field[i], HotKeyFieldEnabled(i, state.on[i], g_settings.ShowTrayIcon));
}

void ShowSwitches(HWND dialog, const HotKeyDialog& state) {
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        const int checkBox = ProgramHotKeys()[i].checkBoxId;
        CheckDlgButton(dialog, checkBox, state.on[i] ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, checkBox),
                     HotKeyCheckBoxEnabled(i, g_settings.ShowTrayIcon));
        ApplyEnabling(state, i);
    }
}

void FocusFields(const HotKeyDialog& state) {
    for (std::size_t i : kFocusOrder)
        SetFocus(state.field[i]);
}

void PlaceBesideSettingsWindow(HWND dialog, HWND settingsWindow) {
    const HotKeyRect rect = WindowRectOf(dialog);
    const auto place = HotKeyDialogPlace(WindowRectOf(settingsWindow), rect.right - rect.left,
                                         GetSystemMetrics(SM_CXSCREEN));
    if (place)
        SetWindowPos(dialog, nullptr, place->x, place->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The pointer must not cover the key text of the field it lies over.
void MovePointerOffKeyText(const HotKeyDialog& state) {
    POINT cursor{};
    GetCursorPos(&cursor);
    for (std::size_t i : kPointerOrder) {
        RECT rect{};
        GetWindowRect(state.field[i], &rect);
        if (PtInRect(&rect, cursor)) {
            SetCursorPos(rect.right, rect.bottom);
            return;
        }
    }
}

void OnInitDialog(HWND dialog, HotKeyDialog& state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    for (std::size_t i = 0; i < kHotKeyCount; ++i)
        state.on[i] = g_settings.*ProgramHotKeys()[i].on == 1;
    CreateKeyFields(dialog, state);
    ShowSwitches(dialog, state);
    PlaceBesideSettingsWindow(dialog, state.settingsWindow);
    ShowWindow(dialog, SW_SHOW);
    FocusFields(state);
    MovePointerOffKeyText(state);
}

void OnSwitch(HWND dialog, HotKeyDialog& state, std::size_t i) {
    state.on[i] = IsDlgButtonChecked(dialog, ProgramHotKeys()[i].checkBoxId) == BST_CHECKED;
    ApplyEnabling(state, i);
    if (i == kShowHideHotKey && !state.on[i]) {
        if (g_settings.ShowTrayIcon == 0)
            SendMessageA(state.settingsWindow, WM_COMMAND, IDC_SHOW_TRAY_ICON, 0);
        EnableWindow(GetDlgItem(state.settingsWindow, IDC_SHOW_TRAY_ICON), TRUE);
    }
    SetFocus(state.field[i]);
}

void OnDefaults(HWND dialog, HotKeyDialog& state) {
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        const HotKey& hotKey = ProgramHotKeys()[i];
        state.on[i] = SettingsTemplate().*hotKey.on == 1;
        SetFieldCode(state.field[i], SettingsTemplate().*hotKey.code);
    }
    ShowSwitches(dialog, state);
    FocusFields(state);
}

void OnOk(HWND dialog, HotKeyDialog& state) {
    if (!HotKeyDialogAccepts(g_settings.ShowTrayIcon, state.on[kShowHideHotKey],
                             FieldCode(state.field[kShowHideHotKey]))) {
        MessageBoxA(dialog,
                    "You have disabled the icon in the system tray.\nYou must specify a Show/Hide "
                    "hot key.",
                    Caption(), MB_OK | MB_ICONINFORMATION);
        SetFocus(state.field[kShowHideHotKey]);
        return;
    }
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        const HotKey& hotKey = ProgramHotKeys()[i];
        g_settings.*hotKey.on = state.on[i] ? 1 : 0;
        g_settings.*hotKey.code = FieldCode(state.field[i]);
    }
    EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, int id) {
    HotKeyDialog& state = StateOf(dialog);
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        if (ProgramHotKeys()[i].checkBoxId == id) {
            OnSwitch(dialog, state, i);
            return;
        }
    }
    switch (id) {
    case IDC_HOTKEY_DEFAULTS:
        OnDefaults(dialog, state);
        break;
    case IDOK:
        OnOk(dialog, state);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    }
}

} // namespace

std::string GetHotKeyText(int32_t code) {
    const UINT scanCode = MapVirtualKeyA(HotKeyVirtualKey(code), 0);
    char name[kKeyNameLength + 1] = "";
    GetKeyNameTextA(HotKeyNameQuery(scanCode, code), name, sizeof name);
    return HotKeyPrefix(code) + name;
}

void UnregisterHotKeys(HWND settingsWindow) {
    for (const HotKey& hotKey : ProgramHotKeys())
        UnregisterHotKey(settingsWindow, hotKey.registrationId);
}

int RegisterHotKeys(HWND settingsWindow) {
    UnregisterHotKeys(settingsWindow);
    Instances().ShowHideHotKeyActive = 0;
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        const HotKey& hotKey = ProgramHotKeys()[i];
        const bool wanted = HotKeyWanted(g_settings, hotKey);
        const bool registered = wanted && RegisterOne(settingsWindow, hotKey);
        if (wanted && !registered)
            ReportTaken(settingsWindow, hotKey);
        if (i != kShowHideHotKey)
            continue;
        if (registered)
            Instances().ShowHideHotKeyActive = 1;
        else if (g_settings.ShowTrayIcon == 0)
            SendMessageA(settingsWindow, WM_COMMAND, IDC_SHOW_TRAY_ICON, 0);
    }
    return 1;
}

bool RunHotKeyDialog(HWND settingsWindow) {
    HotKeyDialog state;
    state.settingsWindow = settingsWindow;
    return DialogBoxParamA(g_app.instance, kHotKeyDialogTemplate, settingsWindow, HotKeyDialogProc,
                           reinterpret_cast<LPARAM>(&state)) == 1;
}

INT_PTR CALLBACK HotKeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, *reinterpret_cast<HotKeyDialog*>(lParam));
        return FALSE;
    case WM_COMMAND:
        if (GetWindowLongPtrA(dialog, DWLP_USER))
            OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
