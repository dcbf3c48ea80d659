// The update check's rules: the request, the search for the version marker
// in the page as it arrives, the comparison of versions and the texts that
// tell the user the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace update_check {

// The page names the newest version right after this text.
inline constexpr char kVersionMarker[] = "<meta name=\"TessaraVersion\" content=\"";
inline constexpr std::size_t kMarkerLength = sizeof kVersionMarker - 1;
// A version text ends at its closing quote, or after this many characters.
inline constexpr std::size_t kMaxVersionLength = 32;
inline constexpr std::size_t kReceiveBufferBytes = 8192;
// From the request sent to the end of the check.
inline constexpr unsigned kTimeoutMs = 30000;
inline constexpr std::uint16_t kHttpPort = 80;

// Where the web site is: a host name or address, with a port when it is
// not 80 ("www.example.com", "127.0.0.1:8080").
struct WebHost {
    std::string name;
    std::uint16_t port = kHttpPort;

    // What the Host header and the failure message name: the name, and the
    // port when it is not the default.
    std::string Authority() const;
};

// Null for an empty text, an empty name or a port that is not 1..65535.
std::optional<WebHost> ParseWebHost(std::string_view text);

// The whole request, sent as one block: lines end in CR LF, as HTTP requires.
std::string UpdateRequest(const WebHost& host);

// Looks for the marker in the bytes as they arrive, whatever the chunks: a
// marker split between two receives, or ending a chunk, is found as well.
class MarkerScanner {
  public:
    // Feeds the next bytes received; true once the version text after the
    // marker is complete (its closing quote, or kMaxVersionLength characters).
    bool Feed(const char* data, std::size_t size);
    bool MarkerFound() const { return matched_ == kMarkerLength; }
    bool Complete() const { return complete_; }
    // The text after the marker as far as it arrived.
    const std::string& Version() const { return version_; }

  private:
    std::size_t matched_ = 0; // characters of the marker matched so far
    bool complete_ = false;
    std::string version_;
};

// The numbers of a version text: digit groups separated by dots, up to the
// first other character ("2.10.0" -> 2, 10, 0). Empty when it does not start
// with a digit.
std::vector<std::uint32_t> VersionNumbers(std::string_view text);

// Compares number by number, a missing number counting as 0:
// negative, zero or positive as `a` is older than, the same as or newer than `b`.
int CompareVersions(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

enum class Failure {
    None = 0,
    Resolve = 1,  // the host name cannot be resolved
    Protocol = 2, // the address is not IPv4
    Socket = 3,
    Connect = 4,
    TimedOut = 5, // no marker within kTimeoutMs
    Closed = 6,   // the server closed the connection before a marker was seen
};

enum class Result {
    Newer,  // the page names a newer version
    Latest, // the same or an older one
    Failed, // see the failure
};

struct Outcome {
    Result result;
    Failure failure;
};

// The end of a check once the receive loop has stopped: the marker's version
// when one was seen, else the time-out or the connection's close. A version
// without a leading number counts as a failure of unknown reason.
Outcome DecideOutcome(const MarkerScanner& scanner, bool timedOut, std::string_view ownVersion);

// "Tessara " followed by the program's version.
std::string Caption(std::string_view ownVersion);
// The message of a failure, with its advice to check by hand.
std::string FailureText(Failure failure, const WebHost& host);

inline constexpr char kNewerText[] =
    "A newer version of Tessara exists.\n\nWould you like to go to the web site?";
inline constexpr char kLatestText[] = "You are already running the\nlatest version of Tessara.";
inline constexpr char kWinsockText[] = "Unable to start winsock session";

} // namespace update_check
