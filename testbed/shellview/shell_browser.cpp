#include "testbed/shellview/shell_browser.h"

namespace shellview {

HRESULT ShellBrowser::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IShellBrowser) {
        *object = static_cast<IShellBrowser*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT ShellBrowser::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = frame_;
    return S_OK;
}

HRESULT ShellBrowser::GetViewStateStream(DWORD, IStream** stream) {
    if (stream)
        *stream = nullptr;
    return E_NOTIMPL;
}

HRESULT ShellBrowser::GetControlWindow(UINT, HWND* window) {
    if (window)
        *window = nullptr;
    return E_NOTIMPL;
}

HRESULT ShellBrowser::SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* result) {
    if (result)
        *result = 0;
    return E_NOTIMPL;
}

HRESULT ShellBrowser::QueryActiveShellView(IShellView** view) {
    if (!view)
        return E_POINTER;
    *view = view_;
    if (!view_)
        return E_FAIL;
    view_->AddRef();
    return S_OK;
}

} // namespace shellview
