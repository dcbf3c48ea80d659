#include "settings/settings_file.h"

#include "settings/settings_record.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace settings_file {

namespace {

// A file's text as single bytes: UTF-16 units beyond ASCII become 0x80,
// which no rule below accepts outside a quoted string.
struct Text {
    std::string chars;
    bool unicode = false;
    bool oddLength = false;
};

Text Decode(const std::uint8_t* data, std::size_t size) {
    Text text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        text.unicode = true;
        text.oddLength = size % 2 != 0;
        text.chars.reserve(size / 2);
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            const unsigned unit = data[i] | unsigned(data[i + 1]) << 8;
            text.chars.push_back(unit < 0x80 ? char(unit) : '\x80');
        }
    } else {
        text.chars.assign(reinterpret_cast<const char*>(data), size);
    }
    return text;
}

// Lines end with CR LF, a lone CR or a lone LF, as the registry editor reads
// them; a file ending in a line end has no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f');
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : Lower(c) - 'a' + 10;
}

// Tabs are the only control characters an export holds inside a line.
bool HasControlCharacter(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return true;
    return false;
}

// The program's key or a key below it; every name part non-empty.
bool InsideProgramKey(std::string_view name) {
    const std::string_view key = kExportedKey;
    if (SameText(name, key))
        return true;
    if (name.size() <= key.size() + 1 || !SameText(name.substr(0, key.size()), key) ||
        name[key.size()] != '\\')
        return false;
    const std::string_view below = name.substr(key.size() + 1);
    return below.front() != '\\' && below.back() != '\\' &&
           below.find("\\\\") == std::string_view::npos;
}

bool IsExportedKeyLine(std::string_view line) {
    line = Trim(line);
    return line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
           SameText(line.substr(1, line.size() - 2), kExportedKey);
}

// Reads a quoted text from the start of `s` (backslash escapes one
// character) into `out`; the rest of `s` follows it.
bool TakeQuoted(std::string_view& s, std::string* out) {
    if (s.empty() || s.front() != '"')
        return false;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '\\') {
            if (++i == s.size())
                return false;
            if (out)
                out->push_back(s[i]);
        } else if (s[i] == '"') {
            s.remove_prefix(i + 1);
            return true;
        } else if (out) {
            out->push_back(s[i]);
        }
    }
    return false;
}

// A hex line's bytes, "01,02,..." with an optional ",\" that continues it on
// the next line. False for anything else.
bool TakeHexBytes(std::string_view s, std::vector<std::uint8_t>& bytes, bool& continues) {
    s = Trim(s);
    continues = !s.empty() && s.back() == '\\';
    if (continues)
        s = Trim(s.substr(0, s.size() - 1));
    while (!s.empty()) {
        if (s.size() < 2 || !IsHexDigit(s[0]) || !IsHexDigit(s[1]))
            return false;
        bytes.push_back(std::uint8_t(HexValue(s[0]) << 4 | HexValue(s[1])));
        s.remove_prefix(2);
        if (s.empty())
            break;
        if (s.front() != ',')
            return false;
        s.remove_prefix(1);
        if (s.empty() && !continues)
            return false;
    }
    return true;
}

// One file's walk: the key of the lines so far, a hex value that continues,
// and the program's "Settings" value if one was seen.
class Walker {
  public:
    Check Line(std::string_view raw, int number) {
        if (HasControlCharacter(raw))
            return {Verdict::Malformed, number};
        const std::string_view line = Trim(raw);
        if (continuing_)
            return Continuation(line, number);
        if (line.empty() || line.front() == ';')
            return Ok();
        if (line.front() == '[')
            return KeyLine(line, number);
        if (line.front() == '"' || line.front() == '@')
            return ValueLine(line, number);
        return {Verdict::Malformed, number};
    }

    Check End(int lastLine) const {
        if (continuing_ || !sawProgramKey_)
            return {Verdict::Malformed, lastLine};
        if (sawSettings_) {
            const LoadDecision decision = DecideSettingsLoad(&settings_, false, Settings{});
            if (decision.source != LoadSource::Stored)
                return {Verdict::InvalidSettings, settingsLine_};
        }
        return Ok();
    }

  private:
    static Check Ok() { return {Verdict::Accepted, 0}; }

    Check KeyLine(std::string_view line, int number) {
        if (line.size() < 2 || line.back() != ']')
            return {Verdict::Malformed, number};
        std::string_view name = line.substr(1, line.size() - 2);
        const bool deletes = !name.empty() && name.front() == '-';
        if (deletes)
            name.remove_prefix(1);
        if (name.find_first_of("[]") != std::string_view::npos)
            return {Verdict::Malformed, number};
        if (!InsideProgramKey(name))
            return {Verdict::OutsideKey, number};
        if (deletes)
            return {Verdict::Malformed, number};
        inKey_ = true;
        atProgramKey_ = SameText(name, kExportedKey);
        sawProgramKey_ = sawProgramKey_ || atProgramKey_;
        return Ok();
    }

    Check ValueLine(std::string_view line, int number) {
        if (!inKey_)
            return {Verdict::Malformed, number};
        std::string name;
        if (line.front() == '@')
            line.remove_prefix(1);
        else if (!TakeQuoted(line, &name))
            return {Verdict::Malformed, number};
        if (line.empty() || line.front() != '=')
            return {Verdict::Malformed, number};
        line.remove_prefix(1);
        const bool isSettings = atProgramKey_ && SameText(name, "Settings");
        if (isSettings) {
            if (sawSettings_)
                return {Verdict::Malformed, number};
            sawSettings_ = true;
            settingsLine_ = number;
        }
        if (StartsWith(line, "hex:")) {
            collecting_ = isSettings ? &settings_ : &scratch_;
            return HexData(line.substr(4), number);
        }
        if (isSettings)
            return {Verdict::InvalidSettings, number};
        if (StartsWith(line, "hex(")) {
            const std::size_t close = line.find("):");
            if (close == std::string_view::npos || close == 4)
                return {Verdict::Malformed, number};
            for (char c : line.substr(4, close - 4))
                if (!IsHexDigit(c))
                    return {Verdict::Malformed, number};
            collecting_ = &scratch_;
            return HexData(line.substr(close + 2), number);
        }
        if (StartsWith(line, "dword:")) {
            const std::string_view digits = line.substr(6);
            if (digits.size() != 8)
                return {Verdict::Malformed, number};
            for (char c : digits)
                if (!IsHexDigit(c))
                    return {Verdict::Malformed, number};
            return Ok();
        }
        if (TakeQuoted(line, nullptr) && line.empty())
            return Ok();
        return {Verdict::Malformed, number};
    }

    Check HexData(std::string_view data, int number) {
        scratch_.clear();
        if (!TakeHexBytes(data, *collecting_, continuing_))
            return {Verdict::Malformed, number};
        return Ok();
    }

    Check Continuation(std::string_view line, int number) {
        if (!TakeHexBytes(line, *collecting_, continuing_) || line.empty())
            return {Verdict::Malformed, number};
        return Ok();
    }

    bool inKey_ = false;
    bool atProgramKey_ = false;
    bool sawProgramKey_ = false;
    bool continuing_ = false;
    bool sawSettings_ = false;
    int settingsLine_ = 0;
    std::vector<std::uint8_t> settings_;
    std::vector<std::uint8_t> scratch_;
    std::vector<std::uint8_t>* collecting_ = &scratch_;
};

const char* ExpectedHeader(Header header) {
    return header == Header::Version5 ? kVersion5Header : kRegedit4Header;
}

const char* OtherHeader(Header header) {
    return header == Header::Version5 ? kRegedit4Header : kVersion5Header;
}

// UTF-16 files carry only the version 5 header.
Check CheckHeader(const Text& text, std::string_view first, Header header) {
    first = Trim(first);
    if (text.unicode && header == Header::Regedit4 && first == kVersion5Header)
        return {Verdict::OtherFormat, 1};
    if (first == ExpectedHeader(header))
        return {Verdict::Accepted, 0};
    if (first == OtherHeader(header))
        return {Verdict::OtherFormat, 1};
    return {Verdict::BadHeader, 1};
}

} // namespace

bool LooksLikeExport(const std::uint8_t* data, std::size_t size, Header header) {
    const Text text = Decode(data, size);
    const std::vector<std::string_view> lines = SplitLines(text.chars);
    if (lines.size() < 3)
        return false;
    return CheckHeader(text, lines[0], header).verdict == Verdict::Accepted &&
           Trim(lines[1]).empty() && IsExportedKeyLine(lines[2]);
}

Check CheckImportFile(const std::uint8_t* data, std::size_t size, Header header) {
    if (size == 0)
        return {Verdict::Empty, 0};
    if (size > kMaxImportBytes)
        return {Verdict::TooLarge, 0};
    const Text text = Decode(data, size);
    const std::vector<std::string_view> lines = SplitLines(text.chars);
    if (lines.empty())
        return {Verdict::BadHeader, 1};
    const Check header_check = CheckHeader(text, lines[0], header);
    if (header_check.verdict != Verdict::Accepted)
        return header_check;
    if (text.oddLength)
        return {Verdict::Malformed, int(lines.size())};
    if (lines.size() < 3 || !Trim(lines[1]).empty())
        return {Verdict::Malformed, 2};
    if (!IsExportedKeyLine(lines[2]))
        return {Verdict::Malformed, 3};
    Walker walker;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const Check check = walker.Line(lines[i], int(i + 1));
        if (check.verdict != Verdict::Accepted)
            return check;
    }
    return walker.End(int(lines.size()));
}

std::string RefusalText(const Check& check) {
    const std::string line = std::to_string(check.line);
    std::string reason;
    switch (check.verdict) {
    case Verdict::Accepted:
        return "";
    case Verdict::Unreadable:
        reason = "The file cannot be read.";
        break;
    case Verdict::Empty:
        reason = "The file is empty.";
        break;
    case Verdict::TooLarge:
        reason = "The file is too large to be an export of Tessara's settings.";
        break;
    case Verdict::BadHeader:
        reason = "The file is not a registry file.";
        break;
    case Verdict::OtherFormat:
        reason = "The file is a registry file for another version of Windows.";
        break;
    case Verdict::OutsideKey:
        reason = "Line " + line + " of the file changes the registry outside Tessara's settings.";
        break;
    case Verdict::Malformed:
        reason = "Line " + line + " of the file is not part of an export of Tessara's settings.";
        break;
    case Verdict::InvalidSettings:
        reason = "The Tessara settings in the file are invalid.\nThey may have been from a "
                 "previous release of Tessara.";
        break;
    }
    return "The file was not imported.\n\n" + reason + "\n\nSettings remain unchanged.";
}

} // namespace settings_file
