// Any file offered for import. An accepted file must be one that the import
// dialog lists, and no line of it that the registry editor could read as a
// key may name a key outside the program's, however its lines are broken.
#include "settings/settings_file.h"

#include <cstdlib>
#include <string>

namespace {

std::string Decoded(const std::uint8_t* data, std::size_t size) {
    std::string text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < size; i += 2)
            text.push_back(data[i + 1] == 0 ? char(data[i]) : '?');
    } else {
        text.assign(reinterpret_cast<const char*>(data), size);
    }
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Any piece between line breaks (CR, LF or NUL) that starts with '['.
bool NamesOnlyTheProgramsKey(const std::string& text) {
    const std::string key = "[hkey_current_user\\software\\marrowen";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(std::string("\r\n\0", 3), start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '[') {
            line = line.substr(first);
            for (char& c : line)
                c = Lower(c);
            if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() ||
                (line[key.size()] != ']' && line[key.size()] != '\\'))
                return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace settings_file;
    for (Header header : {Header::Version5, Header::Regedit4}) {
        const Check check = CheckImportFile(data, size, header);
        if (check.verdict != Verdict::Accepted)
            continue;
        if (size == 0 || size > kMaxImportBytes || !LooksLikeExport(data, size, header))
            std::abort();
        if (!NamesOnlyTheProgramsKey(Decoded(data, size)))
            std::abort();
    }
    return 0;
}
