#include "support/update_check.h"

#include <array>

namespace update_check {

namespace {

constexpr char kFailureAdvice[] =
    "\n\nPlease go to the web page to\nmanually check for a new version.";

// For each count of matched marker characters, how many still match after
// the next character fails (the longest proper border of that prefix).
constexpr std::array<std::size_t, kMarkerLength + 1> MarkerBorders() {
    std::array<std::size_t, kMarkerLength + 1> borders{};
    std::size_t k = 0;
    for (std::size_t i = 1; i < kMarkerLength; ++i) {
        while (k > 0 && kVersionMarker[i] != kVersionMarker[k])
            k = borders[k];
        if (kVersionMarker[i] == kVersionMarker[k])
            ++k;
        borders[i + 1] = k;
    }
    return borders;
}

constexpr std::array<std::size_t, kMarkerLength + 1> kBorders = MarkerBorders();

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string WebHost::Authority() const {
    return port == kHttpPort ? name : name + ":" + std::to_string(port);
}

std::optional<WebHost> ParseWebHost(std::string_view text) {
    WebHost host;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        const std::string_view digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return std::nullopt;
        unsigned long port = 0;
        for (char c : digits) {
            if (!IsDigit(c))
                return std::nullopt;
            port = port * 10 + unsigned(c - '0');
        }
        if (port == 0 || port > 65535)
            return std::nullopt;
        host.port = std::uint16_t(port);
        text = text.substr(0, colon);
    }
    if (text.empty() || text.find_first_of(" \t\r\n/") != std::string_view::npos)
        return std::nullopt;
    host.name = std::string(text);
    return host;
}

std::string UpdateRequest(const WebHost& host) {
    return "GET /index.htm HTTP/1.1\r\n"
           "Host: " +
           host.Authority() +
           "\r\n"
           "User-Agent: Tessara-update\r\n"
           "Connection: close\r\n"
           "\r\n";
}

bool MarkerScanner::Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && !complete_; ++i) {
        const char c = data[i];
        if (MarkerFound()) {
            if (c == '"')
                complete_ = true;
            else
                version_.push_back(c);
            complete_ = complete_ || version_.size() == kMaxVersionLength;
            continue;
        }
        while (matched_ > 0 && kVersionMarker[matched_] != c)
            matched_ = kBorders[matched_];
        if (kVersionMarker[matched_] == c)
            ++matched_;
    }
    return complete_;
}

std::vector<std::uint32_t> VersionNumbers(std::string_view text) {
    std::vector<std::uint32_t> numbers;
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        std::uint32_t number = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            const std::uint32_t digit = std::uint32_t(text[i] - '0');
            number = number > (0xFFFFFFFFu - digit) / 10 ? 0xFFFFFFFFu : number * 10 + digit;
        }
        numbers.push_back(number);
        if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]))
            ++i;
        else
            break;
    }
    return numbers;
}

int CompareVersions(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    const std::size_t count = a.size() > b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t x = i < a.size() ? a[i] : 0;
        const std::uint32_t y = i < b.size() ? b[i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

Outcome DecideOutcome(const MarkerScanner& scanner, bool timedOut, std::string_view ownVersion) {
    if (!scanner.MarkerFound())
        return {Result::Failed, timedOut ? Failure::TimedOut : Failure::Closed};
    const std::vector<std::uint32_t> page = VersionNumbers(scanner.Version());
    if (page.empty())
        return {Result::Failed, Failure::Closed};
    const bool newer = CompareVersions(page, VersionNumbers(ownVersion)) > 0;
    return {newer ? Result::Newer : Result::Latest, Failure::None};
}

std::string Caption(std::string_view ownVersion) {
    return "Tessara " + std::string(ownVersion);
}

std::string FailureText(Failure failure, const WebHost& host) {
    std::string text;
    switch (failure) {
    case Failure::None:
        return "";
    case Failure::Resolve:
        text = "Failure resolving http://" + host.Authority();
        break;
    case Failure::Protocol:
        text = "Protocol error";
        break;
    case Failure::Socket:
        text = "Unable to create socket";
        break;
    case Failure::Connect:
        text = "Unable to connect";
        break;
    case Failure::TimedOut:
        text = "Connection timed out";
        break;
    case Failure::Closed:
        text = "Check failed: Reason unknown\n\nPlease go to the web page\nto check for a new "
               "version.";
        break;
    }
    return text + kFailureAdvice;
}

} // namespace update_check
