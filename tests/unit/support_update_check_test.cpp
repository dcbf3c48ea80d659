#include "support/update_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace update_check {
namespace {

const std::string kMarker = kVersionMarker;

// Feeds `page` in chunks of the given sizes (the last size repeats).
MarkerScanner Scan(const std::string& page, std::vector<std::size_t> sizes) {
    MarkerScanner scanner;
    std::size_t at = 0;
    std::size_t k = 0;
    while (at < page.size() && !scanner.Complete()) {
        const std::size_t n = std::min(sizes[std::min(k++, sizes.size() - 1)], page.size() - at);
        scanner.Feed(page.data() + at, n);
        at += n;
    }
    return scanner;
}

TEST(UpdateCheck_Scanner, FindsTheMarkerWhereverTheChunksSplitIt) {
    const std::string page =
        std::string(8170, 'x') + kMarker + "2.10.0\"><body>" + std::string(100, 'y');
    for (std::size_t size : {std::size_t(1), std::size_t(2), std::size_t(7), std::size_t(36),
                             std::size_t(37), std::size_t(38), kReceiveBufferBytes}) {
        SCOPED_TRACE(size);
        const MarkerScanner scanner = Scan(page, {size});
        EXPECT_TRUE(scanner.Complete());
        EXPECT_EQ(scanner.Version(), "2.10.0");
    }
    // Every split of the marker between two receives.
    for (std::size_t cut = 1; cut < kMarker.size() + 7; ++cut) {
        SCOPED_TRACE(cut);
        const std::string small = "<html>" + kMarker + "3.0\">";
        const MarkerScanner scanner = Scan(small, {6 + cut, 1000});
        EXPECT_EQ(scanner.Version(), "3.0");
    }
}

TEST(UpdateCheck_Scanner, RecoversFromAPartialMatchThatFails) {
    const std::string page =
        "<meta name=\"TessaraVer<meta <meta name=\"TessaraVersion\" content=<" + kMarker +
        "1.2.3\"";
    EXPECT_EQ(Scan(page, {5}).Version(), "1.2.3");
    // The version is whatever follows the first marker, up to its quote.
    EXPECT_EQ(Scan(kMarker + kMarker + "1\"", {100}).Version(), "<meta name=");
}

TEST(UpdateCheck_Scanner, StopsAtTheQuoteOrAtTheLengthLimit) {
    MarkerScanner open;
    const std::string unterminated = kMarker + "1.2";
    EXPECT_FALSE(open.Feed(unterminated.data(), unterminated.size()));
    EXPECT_TRUE(open.MarkerFound());
    EXPECT_EQ(open.Version(), "1.2");
    EXPECT_TRUE(open.Feed("\"", 1));
    EXPECT_EQ(open.Version(), "1.2");

    const MarkerScanner longer = Scan(kMarker + std::string(100, '9'), {10});
    EXPECT_TRUE(longer.Complete());
    EXPECT_EQ(longer.Version().size(), kMaxVersionLength);
    EXPECT_FALSE(Scan(std::string(10000, '<'), {8192}).MarkerFound());
}

TEST(UpdateCheck_Versions, CompareNumberByNumber) {
    struct Row {
        const char* page;
        const char* own;
        int sign;
    };
    const Row rows[] = {
        {"2.10.0", "2.5.1", 1},
        {"2.6.0", "2.5.1", 1},
        {"3.0", "2.5.1", 1},
        {"2.5.1", "2.5.1", 0},
        {"2.5.1.1", "2.5.1", 1},
        {"2.5.1.0", "2.5.1", 0},
        {"2.5", "2.5.1", -1},
        {"1.9.9", "2.0.0", -1},
        {"10.0.0", "9.99.99", 1},
        {"2.5.1-beta", "2.5.1", 0},
        {"4294967296.1", "4294967295.0", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.page) + " vs " + row.own);
        const int result = CompareVersions(VersionNumbers(row.page), VersionNumbers(row.own));
        EXPECT_EQ((result > 0) - (result < 0), row.sign);
    }
    EXPECT_TRUE(VersionNumbers("v2.0").empty());
    EXPECT_EQ(VersionNumbers("1.2."), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(VersionNumbers("1..2"), (std::vector<std::uint32_t>{1}));
}

TEST(UpdateCheck_Outcome, FollowsTheMarkerTheTimeOutOrTheClose) {
    const MarkerScanner none = Scan("<html>no marker</html>", {100});
    EXPECT_EQ(DecideOutcome(none, false, "1.0.0").failure, Failure::Closed);
    EXPECT_EQ(DecideOutcome(none, true, "1.0.0").failure, Failure::TimedOut);
    struct Row {
        const char* version;
        Result result;
        Failure failure;
    };
    const Row rows[] = {
        {"1.10.0\"", Result::Newer, Failure::None},
        {"1.0.0\"", Result::Latest, Failure::None},
        {"0.9\"", Result::Latest, Failure::None},
        {"soon\"", Result::Failed, Failure::Closed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        const Outcome outcome = DecideOutcome(Scan(kMarker + row.version, {4}), false, "1.0.0");
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_EQ(outcome.failure, row.failure);
    }
    // A version cut off by the time-out still counts as far as it came.
    EXPECT_EQ(DecideOutcome(Scan(kMarker + "2", {100}), true, "1.0.0").result, Result::Newer);
}

TEST(UpdateCheck_Request, EndsEveryLineWithCarriageReturnAndLineFeed) {
    EXPECT_EQ(UpdateRequest(*ParseWebHost("www.example.com")),
              "GET /index.htm HTTP/1.1\r\nHost: www.example.com\r\nUser-Agent: Tessara-update\r\n"
              "Connection: close\r\n\r\n");
    EXPECT_EQ(UpdateRequest(*ParseWebHost("127.0.0.1:8080")).substr(25, 22),
              "Host: 127.0.0.1:8080\r\n");
}

TEST(UpdateCheck_Host, TakesANameAndAnOptionalPort) {
    struct Row {
        const char* text;
        bool valid;
        const char* name;
        std::uint16_t port;
    };
    const Row rows[] = {
        {"www.example.com", true, "www.example.com", 80},
        {"localhost:8123", true, "localhost", 8123},
        {"host:65535", true, "host", 65535},
        {"host:0", false, "", 0},
        {"host:65536", false, "", 0},
        {"host:", false, "", 0},
        {":80", false, "", 0},
        {"", false, "", 0},
        {"a b", false, "", 0},
        {"host/x", false, "", 0},
        {"host:8x", false, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::optional<WebHost> host = ParseWebHost(row.text);
        ASSERT_EQ(host.has_value(), row.valid);
        if (host) {
            EXPECT_EQ(host->name, row.name);
            EXPECT_EQ(host->port, row.port);
        }
    }
}

TEST(UpdateCheck_Texts, FailureMessagesCarryTheAdvice) {
    const WebHost host = *ParseWebHost("www.example.com");
    const std::string advice =
        "\n\nPlease go to the web page to\nmanually check for a new version.";
    EXPECT_EQ(FailureText(Failure::Resolve, host),
              "Failure resolving http://www.example.com" + advice);
    EXPECT_EQ(FailureText(Failure::Resolve, *ParseWebHost("a:81")),
              "Failure resolving http://a:81" + advice);
    EXPECT_EQ(FailureText(Failure::Protocol, host), "Protocol error" + advice);
    EXPECT_EQ(FailureText(Failure::Socket, host), "Unable to create socket" + advice);
    EXPECT_EQ(FailureText(Failure::Connect, host), "Unable to connect" + advice);
    EXPECT_EQ(FailureText(Failure::TimedOut, host), "Connection timed out" + advice);
    EXPECT_EQ(FailureText(Failure::Closed, host),
              "Check failed: Reason unknown\n\nPlease go to the web page\nto check for a new "
              "version." +
                  advice);
    EXPECT_EQ(FailureText(Failure::None, host), "");
    EXPECT_EQ(Caption("1.0.0"), "Tessara 1.0.0");
}

} // namespace
} // namespace update_check
