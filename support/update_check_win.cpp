#include <winsock2.h>

#include "support/update_check_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "settings/settings.h"
#include "ui/resource.h"
#include "ui/web_site.h"

#include <cstring>
#include <string>
#include <vector>

using namespace update_check;

namespace {

// 1 while a check runs, from the click that starts it until its message box
// is closed. Claimed with one atomic exchange, so two clicks never both start.
volatile LONG g_checkRunning = 0;

class WinsockSession {
  public:
    WinsockSession() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession() {
        if (started_)
            WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool Started() const { return started_; }

  private:
    bool started_ = false;
};

class UniqueSocket {
  public:
    explicit UniqueSocket(SOCKET socket) : socket_(socket) {}
    ~UniqueSocket() {
        if (socket_ != INVALID_SOCKET)
            closesocket(socket_);
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    SOCKET get() const { return socket_; }
    bool Valid() const { return socket_ != INVALID_SOCKET; }

  private:
    SOCKET socket_;
};

bool SendAll(SOCKET socket, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(socket, text.data() + sent, int(text.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += std::size_t(n);
    }
    return true;
}

// Waits at most until the deadline for the socket to become readable.
bool ReadableBefore(SOCKET socket, DWORD deadline) {
    const LONG left = LONG(deadline - GetTickCount());
    if (left <= 0)
        return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait{left / 1000, (left % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait) > 0;
}

// Receives until the version after the marker is complete, the server closes
// or fails the connection, or the deadline passes.
Outcome ReceivePage(SOCKET socket, const std::string& ownVersion) {
    MarkerScanner scanner;
    const DWORD deadline = GetTickCount() + kTimeoutMs;
    std::vector<char> buffer(kReceiveBufferBytes);
    for (;;) {
        if (!ReadableBefore(socket, deadline))
            return DecideOutcome(scanner, true, ownVersion);
        const int received = recv(socket, buffer.data(), int(buffer.size()), 0);
        if (received <= 0)
            return DecideOutcome(scanner, false, ownVersion);
        if (scanner.Feed(buffer.data(), std::size_t(received)))
            return DecideOutcome(scanner, false, ownVersion);
    }
}

Outcome Fetch(const WebHost& host, const std::string& ownVersion) {
    const hostent* entry = gethostbyname(host.name.c_str());
    if (!entry)
        return {Result::Failed, Failure::Resolve};
    if (entry->h_addrtype != AF_INET || !entry->h_addr_list[0])
        return {Result::Failed, Failure::Protocol};
    UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, 0));
    if (!socket.Valid())
        return {Result::Failed, Failure::Socket};
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(host.port);
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
    if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return {Result::Failed, Failure::Connect};
    if (!SendAll(socket.get(), UpdateRequest(host)))
        return {Result::Failed, Failure::Closed};
    return ReceivePage(socket.get(), ownVersion);
}

void ShowOutcome(HWND owner, const Outcome& outcome, const WebHost& host, const char* caption) {
    switch (outcome.result) {
    case Result::Newer:
        if (MessageBoxA(owner, kNewerText, caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            SendMessageA(owner, WM_COMMAND, IDM_WEB_PAGE, 0);
        break;
    case Result::Latest:
        MessageBoxA(owner, kLatestText, caption, MB_OK | MB_ICONINFORMATION);
        break;
    case Result::Failed:
        MessageBoxA(owner, FailureText(outcome.failure, host).c_str(), caption,
                    MB_OK | MB_ICONINFORMATION);
        break;
    }
}

DWORD WINAPI UpdateCheckThread(void* parameter) {
    const HWND owner = static_cast<HWND>(parameter);
    const std::string caption = Caption(g_app.versionText);
    {
        WinsockSession session;
        if (!session.Started()) {
            MessageBoxA(owner, kWinsockText, caption.c_str(), MB_OK | MB_ICONERROR);
        } else {
            const WebHost host = ConfiguredWebHost();
            const Outcome outcome = Fetch(host, g_app.versionText);
            ShowOutcome(owner, outcome, host, caption.c_str());
        }
    }
    InterlockedExchange(&g_checkRunning, 0);
    return 0;
}

} // namespace

WebHost ConfiguredWebHost() {
    char text[256] = "";
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, key.receive()) ==
            ERROR_SUCCESS &&
        RegQueryValueExA(key.get(), kWebSiteHostValue, nullptr, &type,
                         reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        text[size] = '\0';
        if (const std::optional<WebHost> host = ParseWebHost(text))
            return *host;
    }
    return *ParseWebHost(kWebSiteHost);
}

void StartUpdateCheck(HWND settingsWindow) {
    if (InterlockedCompareExchange(&g_checkRunning, 1, 0) != 0)
        return;
    UniqueHandle thread(CreateThread(nullptr, 0, UpdateCheckThread, settingsWindow, 0, nullptr));
    if (!thread)
        InterlockedExchange(&g_checkRunning, 0);
}
