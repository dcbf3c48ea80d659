// Any page in any chunks: the scanner must find the version marker exactly
// where a search over the whole page finds it, and read the same version.
#include "support/update_check.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace update_check;
    if (size < 1)
        return 0;
    // The first byte chooses the chunk size, as receives would cut the page.
    const std::size_t chunk = std::size_t(data[0]) % 64 + 1;
    const std::string page(reinterpret_cast<const char*>(data + 1), size - 1);

    MarkerScanner scanner;
    for (std::size_t at = 0; at < page.size() && !scanner.Complete(); at += chunk)
        scanner.Feed(page.data() + at, std::min(chunk, page.size() - at));

    const std::size_t found = page.find(kVersionMarker);
    if (scanner.MarkerFound() != (found != std::string::npos))
        std::abort();
    if (found == std::string::npos)
        return 0;
    const std::string rest = page.substr(found + kMarkerLength);
    const std::size_t quote = rest.find('"');
    std::string expected = rest.substr(0, quote);
    const bool complete = quote != std::string::npos || expected.size() >= kMaxVersionLength;
    if (expected.size() > kMaxVersionLength)
        expected.resize(kMaxVersionLength);
    if (scanner.Version() != expected || scanner.Complete() != complete)
        std::abort();
    const Outcome outcome = DecideOutcome(scanner, false, "1.0.0");
    if ((outcome.result == Result::Failed) != VersionNumbers(expected).empty())
        std::abort();
    return 0;
}
