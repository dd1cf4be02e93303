#include "ChildProcess.h"

#include <QFileInfo>
#include <string>
#include <windows.h>

namespace {

// Ctrl+C and Ctrl+Break reach the child too, attached to the same console; this program waits
// for it and reports how it ended.
BOOL WINAPI ignoreWhileWaiting(DWORD)
{
    return TRUE;
}

// The argument quoted so that the C run-time's splitting of a command line gives it back whole:
// backslashes count only before a double quote.
QString quoted(const QString& argument)
{
    if (!argument.isEmpty() && !argument.contains(u' ') && !argument.contains(u'\t') &&
        !argument.contains(u'\n') && !argument.contains(u'\v') && !argument.contains(u'"'))
        return argument;
    QString result(1, u'"');
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        result += QString(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\') + c;
        backslashes = 0;
    }
    return result + QString(backslashes * 2, u'\\') + u'"';
}

// The system's text for the error, without its closing full stop, as the caller's sentence goes
// on; "%1" in it (as in "%1 is not a valid Win32 application") stands for the program's name.
QString reason(DWORD error, const QString& program = QString())
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = text ? QString::fromWCharArray(text).trimmed()
                           : QStringLiteral("Windows error %1").arg(error);
    LocalFree(text);
    if (message.endsWith(u'.'))
        message.chop(1);
    return message.replace(QStringLiteral("%1"), QFileInfo(program).fileName());
}

} // namespace

ChildExit runChildProcess(const QStringList& command)
{
    QStringList words;
    for (const QString& word : command)
        words << quoted(word);
    std::wstring line = words.join(u' ').toStdWString();

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    SetConsoleCtrlHandler(ignoreWhileWaiting, TRUE);
    // Without an application name, Windows finds the first word as a command prompt would: in
    // the program's folder, the current one, the system's, then PATH, adding ".exe".
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        SetConsoleCtrlHandler(ignoreWhileWaiting, FALSE);
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? ChildExit::NotFound : ChildExit::CannotRun,
                reason(error, command.value(0))};
    }
    CloseHandle(process.hThread);
    ChildExit ended;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &code))
        ended.status = int(code);
    else
        ended.error = reason(GetLastError());
    CloseHandle(process.hProcess);
    SetConsoleCtrlHandler(ignoreWhileWaiting, FALSE);
    return ended;
}
