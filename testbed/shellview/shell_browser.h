// The least an IShellBrowser must do for the shell's own folder view to live
// in a window of ours: name the window that holds it. Everything a browser
// frame adds (menus, toolbars, a status bar, navigation) is declined.
#pragma once

#include <shlobj.h>

namespace shellview {

class ShellBrowser final : public IShellBrowser {
  public:
    // IUnknown: the object lives as long as the host's window, not by count.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IShellBrowser
    HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream** stream) override;
    HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND* window) override;
    HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* result) override;
    HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override;
    HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override {
        return E_NOTIMPL;
    }

    void SetFrame(HWND frame) { frame_ = frame; }
    void SetView(IShellView* view) { view_ = view; }

  private:
    HWND frame_ = nullptr;
    IShellView* view_ = nullptr; // owned by the host
};

} // namespace shellview
