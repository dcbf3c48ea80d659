// Stands in for a program the shell starts on the product's behalf (the
// handler of a file type, the screen saver): it appends its whole command line
// as one line, in UTF-8, to the log file named by its first argument, and ends.
//
//   recorder.exe LOGFILE [ARGS...]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The first argument, quoted or not, and where the rest begins.
std::string FirstArgument(const char* args) {
    while (*args == ' ')
        ++args;
    if (*args == '"') {
        const char* end = std::strchr(args + 1, '"');
        return end ? std::string(args + 1, end) : std::string(args + 1);
    }
    const char* end = std::strchr(args, ' ');
    return end ? std::string(args, end) : std::string(args);
}

// The command line without the program's own name.
const char* ArgumentsOf(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p ? p + 1 : commandLine + std::strlen(commandLine);
    } else {
        while (*p && *p != ' ')
            ++p;
    }
    return p;
}

// The command line as it was given, names outside the ANSI code page too.
std::string Utf8CommandLine() {
    const wchar_t* wide = GetCommandLineW();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? std::size_t(bytes) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    return text.c_str();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string commandLine = Utf8CommandLine();
    const std::string log = FirstArgument(ArgumentsOf(commandLine.c_str()));
    if (log.empty())
        return 2;
    FILE* file = std::fopen(log.c_str(), "ab");
    if (!file)
        return 1;
    std::fprintf(file, "%s\n", commandLine.c_str());
    std::fclose(file);
    return 0;
}
