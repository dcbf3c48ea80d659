// The update check of the real Tessara.exe against a web server that this
// test runs on the loopback address. The program finds it through the
// "WebSiteHost" value; each case serves one kind of answer and reads the
// message box the program shows.
#include <winsock2.h>

#include "support/update_check.h"
#include "support/update_check_win.h"
#include "tests/wine/app_program.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace {

using namespace update_check;

const std::string kCaption = std::string("Tessara ") + TESSARA_VERSION_TEXT;
const std::string kAdvice = "\n\nPlease go to the web page to\nmanually check for a new version.";
const std::string kClosedText =
    "Check failed: Reason unknown\n\nPlease go to the web page\nto check for a new version." +
    kAdvice;

std::string Page(const std::string& version) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head>" +
           std::string(kVersionMarker) + version + "\"></head><body>Tessara</body></html>";
}

// What the server does with each connection, after reading the request.
enum class Behaviour { Page, CloseAtOnce, Silent, Garbage };

// A web server on 127.0.0.1 at a port of the system's choice.
class TestServer {
  public:
    TestServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TestServer() {
        stopping_ = true;
        closesocket(listener_);
        thread_.join();
        for (std::thread& handler : handlers_)
            handler.join();
        WSACleanup();
    }

    unsigned short Port() const { return port_; }
    // The page is sent in two pieces, cut `cut` bytes in, with a pause between.
    void Answer(Behaviour behaviour, const std::string& page = "", std::size_t cut = 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        behaviour_ = behaviour;
        page_ = page;
        cut_ = cut;
    }
    int Connections() const { return connections_; }
    std::string LastRequest() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }
    // Ends a silent connection's wait.
    void Release() { released_ = true; }

  private:
    void Serve() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            ++connections_;
            // Each on its own thread, so that a silent connection does not
            // keep the next one from being counted.
            handlers_.emplace_back([this, client] {
                Handle(client);
                closesocket(client);
            });
        }
    }

    void Handle(SOCKET client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos &&
               request.find("\n\n") == std::string::npos) {
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, std::size_t(n));
        }
        Behaviour behaviour;
        std::string page;
        std::size_t cut;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            request_ = request;
            behaviour = behaviour_;
            page = page_;
            cut = cut_;
        }
        switch (behaviour) {
        case Behaviour::Page:
            send(client, page.data(), int(cut), 0);
            Sleep(300);
            send(client, page.data() + cut, int(page.size() - cut), 0);
            shutdown(client, SD_SEND);
            Sleep(200);
            break;
        case Behaviour::CloseAtOnce:
            break;
        case Behaviour::Silent:
            released_ = false;
            while (!released_ && !stopping_)
                Sleep(50);
            break;
        case Behaviour::Garbage: {
            std::string block(64 * 1024, '<');
            for (std::size_t i = 0; i < block.size(); i += 7)
                block[i] = char('a' + i % 26);
            for (int i = 0; i < 160; ++i) // 10 MB
                if (send(client, block.data(), int(block.size()), 0) <= 0)
                    break;
            break;
        }
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::thread thread_;
    std::vector<std::thread> handlers_;
    mutable std::mutex mutex_;
    Behaviour behaviour_ = Behaviour::CloseAtOnce;
    std::string page_;
    std::size_t cut_ = 0;
    std::string request_;
    std::atomic<int> connections_{0};
    std::atomic<bool> released_{false};
    std::atomic<bool> stopping_{false};
};

class UpdateCheckTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start(harness::ShellOptions::WithIcons(3)));
        UseHost("127.0.0.1:" + std::to_string(server_.Port()));
        Settings quiet = SettingsTemplate();
        quiet.ShowTrayIcon = 0;
        quiet.ShowToolTips = 0;
        quiet.AutoRestorePositions = 0;
        StartProgram(quiet);
    }
    void TearDown() override {
        server_.Release();
        app_test::ProgramTest::TearDown();
        harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kWebSiteHostValue);
    }

    static void UseHost(const std::string& host) {
        ASSERT_TRUE(
            harness::RegWriteString(HKEY_CURRENT_USER, kProgramKey, kWebSiteHostValue, host));
    }

    // Clicks the link, waits for the program's message, answers it with
    // `button` and returns its text ("" when none came in time).
    std::string Check(int button = IDOK, DWORD timeoutMs = 15000) {
        tessara_.Command(IDC_CHECK_VERSION);
        return Answer(button, timeoutMs);
    }

    std::string Answer(int button, DWORD timeoutMs) {
        const HWND box = harness::WaitForDialog(kCaption, tessara_.Pid(), timeoutMs);
        if (!box)
            return "";
        const std::string text = harness::MessageBoxText(box);
        harness::PressButton(box, button);
        EXPECT_TRUE(harness::WaitForWindowGone(box));
        return text;
    }

    TestServer server_;
};

TEST_F(UpdateCheckTest, ComparesThePagesVersionAndFindsAMarkerSplitAcrossSends) {
    const std::string newer = Page("1.10.0");
    const std::size_t inMarker = newer.find(kVersionMarker) + 10;
    server_.Answer(Behaviour::Page, newer, inMarker);
    EXPECT_EQ(Check(IDNO), kNewerText);
    const std::string request = server_.LastRequest();
    EXPECT_EQ(request,
              "GET /index.htm HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_.Port()) +
                  "\r\nUser-Agent: Tessara-update\r\nConnection: close\r\n\r\n");

    for (const char* version : {TESSARA_VERSION_TEXT, "0.9.9"}) {
        SCOPED_TRACE(version);
        const std::string page = Page(version);
        server_.Answer(Behaviour::Page, page, page.size() - 3);
        EXPECT_EQ(Check(), kLatestText);
    }
}

TEST_F(UpdateCheckTest, TellsWhyTheCheckFailed) {
    server_.Answer(Behaviour::CloseAtOnce);
    EXPECT_EQ(Check(), kClosedText);

    server_.Answer(Behaviour::Garbage);
    EXPECT_EQ(Check(IDOK, 60000), kClosedText);

    // A port that nobody listens on: taken from the system, then let go.
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    UseHost("127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    EXPECT_EQ(Check(), "Unable to connect" + kAdvice);

    UseHost("no-such-host.invalid");
    EXPECT_EQ(Check(IDOK, 60000), "Failure resolving http://no-such-host.invalid" + kAdvice);
}

// The one case that waits for the whole time-out.
TEST_F(UpdateCheckTest, ASilentServerTimesOutOnceHoweverOftenTheLinkIsClicked) {
    server_.Answer(Behaviour::Silent);
    const DWORD start = GetTickCount();
    tessara_.Command(IDC_CHECK_VERSION);
    ASSERT_TRUE(harness::WaitUntil([&] { return server_.Connections() == 1; }));
    tessara_.Command(IDC_CHECK_VERSION);
    tessara_.Command(IDC_CHECK_VERSION);
    EXPECT_EQ(Answer(IDOK, kTimeoutMs + 15000), "Connection timed out" + kAdvice);
    EXPECT_GE(GetTickCount() - start, kTimeoutMs - 1000);
    EXPECT_EQ(server_.Connections(), 1);
    EXPECT_FALSE(harness::WaitForDialog(kCaption, tessara_.Pid(), 1500));
    server_.Release();
}

} // namespace
