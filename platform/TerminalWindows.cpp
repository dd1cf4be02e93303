#include "Terminal.h"

#include <cstdio>
#include <io.h>
#include <windows.h>

bool standardOutputIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}

namespace {

// The console outlives the program: it gets its code page back when the program ends.
struct ConsoleCodePage
{
    const UINT original = GetConsoleOutputCP();
    ~ConsoleCodePage()
    {
        if (original != 0)
            SetConsoleOutputCP(original);
    }
};

} // namespace

void prepareConsoleOutput()
{
    // The console reads what the program writes in its output code page, by default the OEM one
    // (437, 850): UTF-8 would show as other letters.
    static const ConsoleCodePage restored;
    SetConsoleOutputCP(CP_UTF8);
    // The colours of "check" and "diff" are ANSI sequences, which a console shows only when asked.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode))
        SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
