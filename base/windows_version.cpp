#include "base/windows_version.h"

bool IsXPOrLaterVersion(unsigned major, unsigned minor) {
    return major > 5 || (major == 5 && minor >= 1);
}

bool Is2000OrLaterVersion(unsigned major, unsigned /*minor*/) {
    return major >= 5;
}

bool IsOldVersion(unsigned major, unsigned minor) {
    return major < 4 || (major == 4 && minor == 0);
}
