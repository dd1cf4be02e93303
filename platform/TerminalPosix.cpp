#include "Terminal.h"

#include <unistd.h>

bool standardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

// A POSIX terminal takes the bytes as they are, in the locale's encoding (UTF-8 on any current
// system).
void prepareConsoleOutput() {}
