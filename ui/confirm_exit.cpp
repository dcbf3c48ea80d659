#include "ui/confirm_exit.h"

#include "settings/settings.h"
#include "ui/close_action.h"
#include "ui/resource.h"

namespace {

constexpr char kConfirmExitTemplate[] = "CONFIRMEXIT";

// The dialog's state while it is open.
bool g_open = false;
int* g_pressed = nullptr;
HWND g_settingsWindow = nullptr;
RefreshPage g_refreshPage = nullptr;

void PlaceCentredOnTop(HWND dialog) {
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(dialog, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
}

void UpdateButtons(HWND dialog) {
    const ConfirmExitButtons buttons = ConfirmExitButtonStates(g_settings);
    EnableWindow(GetDlgItem(dialog, IDC_CONFIRM_EXIT), buttons.exitEnabled);
    EnableWindow(GetDlgItem(dialog, IDC_CONFIRM_HIDE), buttons.hideEnabled);
    EnableWindow(GetDlgItem(dialog, IDC_CONFIRM_HIDE_INSTEAD), buttons.hideInsteadEnabled);
}

bool HideInsteadChecked(HWND dialog) {
    return IsDlgButtonChecked(dialog, IDC_CONFIRM_HIDE_INSTEAD) == BST_CHECKED;
}

void RefreshSettingsPage() {
    if (g_refreshPage)
        g_refreshPage(g_settingsWindow);
}

void OnInitDialog(HWND dialog, LPARAM lParam) {
    g_open = true;
    g_pressed = reinterpret_cast<int*>(lParam);
    PlaceCentredOnTop(dialog);
    UpdateButtons(dialog);
}

void OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client{};
    GetClientRect(dialog, &client);
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    EndPaint(dialog, &paint);
}

void OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_CONFIRM_DONT_ASK:
        ToggleDontAsk(g_settings, HideInsteadChecked(dialog));
        RefreshSettingsPage();
        UpdateButtons(dialog);
        break;
    case IDC_CONFIRM_HIDE_INSTEAD:
        SetHideInstead(g_settings, HideInsteadChecked(dialog));
        RefreshSettingsPage();
        UpdateButtons(dialog);
        break;
    case IDC_CONFIRM_EXIT:
    case IDC_CONFIRM_HIDE:
    case IDC_CONFIRM_CANCEL:
        *g_pressed = id;
        EndDialog(dialog, 0);
        break;
    default:
        EndDialog(dialog, 0);
        break;
    }
}

INT_PTR CALLBACK ConfirmExitProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, lParam);
        return FALSE;
    case WM_PAINT:
        OnPaint(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        g_open = false;
        return FALSE;
    }
    return FALSE;
}

int AskConfirmExit(HWND settingsWindow, RefreshPage refreshPage) {
    int pressed = -1;
    g_settingsWindow = settingsWindow;
    g_refreshPage = refreshPage;
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(settingsWindow, GWLP_HINSTANCE));
    DialogBoxParamA(instance, kConfirmExitTemplate, settingsWindow, ConfirmExitProc,
                    reinterpret_cast<LPARAM>(&pressed));
    return pressed;
}

void SendHideCommand(HWND settingsWindow) {
    SendMessageA(settingsWindow, WM_COMMAND, IDC_HIDE_WINDOW, 0);
}

void Prompt(HWND settingsWindow, RefreshPage refreshPage) {
    switch (OutcomeOfConfirmExit(AskConfirmExit(settingsWindow, refreshPage))) {
    case CloseOutcome::ExitProgram:
        SendMessageA(settingsWindow, WM_CLOSE, 0, 0);
        break;
    case CloseOutcome::HideWindow:
        SendHideCommand(settingsWindow);
        break;
    case CloseOutcome::Stay:
        InvalidateRect(settingsWindow, nullptr, TRUE);
        break;
    }
}

} // namespace

void RunCloseAction(HWND settingsWindow, RefreshPage refreshPage) {
    switch (ChooseCloseAction(g_settings)) {
    case CloseAction::Hide:
        SendHideCommand(settingsWindow);
        break;
    case CloseAction::Prompt:
        Prompt(settingsWindow, refreshPage);
        break;
    case CloseAction::Exit:
        SendMessageA(settingsWindow, WM_CLOSE, 0, 0);
        break;
    }
}

bool ConfirmExitOpen() {
    return g_open;
}
