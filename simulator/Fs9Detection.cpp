#include "Fs9Detection.h"

#include "DirectoryLookup.h"
#include "IniReader.h"
#include "SystemFolders.h"
#include "WinePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QSet>
#include <optional>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Fs9Detection)
};

// The simulator's key as Wine writes key names in system.reg, backslashes doubled; in lower case.
constexpr const char* registryKeys[] = {
    R"(software\\microsoft\\microsoft games\\flight simulator\\9.0)",
    R"(software\\wow6432node\\microsoft\\microsoft games\\flight simulator\\9.0)"};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A quoted string of a Wine registry file: backslash escapes, and \xNNNN for every character
// beyond ASCII.
QString registryString(QByteArrayView quoted)
{
    const QByteArrayView inner = quoted.sliced(1, quoted.size() - 2);
    QString text;
    for (qsizetype k = 0; k < inner.size(); ++k) {
        if (inner[k] != '\\' || k + 1 == inner.size()) {
            text.append(QLatin1Char(inner[k]));
            continue;
        }
        const char escaped = inner[++k];
        if (escaped != 'x') {
            text.append(QLatin1Char(escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped));
            continue;
        }
        char16_t code = 0;
        for (int digits = 0; digits < 4 && k + 1 < inner.size() && hexDigit(inner[k + 1]) >= 0;
             ++digits)
            code = char16_t(code * 16 + hexDigit(inner[++k]));
        text.append(QChar(code));
    }
    return text;
}

std::optional<QString> registryExePath(const QString& systemReg)
{
    QFile file(systemReg);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    IniReader reader(file);
    IniLine line;
    bool inKey = false;
    while (reader.next(line)) {
        if (line.kind == IniLine::Kind::Section)
            inKey = sameName(line.name, registryKeys[0]) || sameName(line.name, registryKeys[1]);
        else if (inKey && line.kind == IniLine::Kind::Key && sameName(line.name, "\"exe path\"") &&
                 line.value.size() >= 2 && line.value.startsWith('"') && line.value.endsWith('"'))
            return registryString(line.value);
    }
    return std::nullopt;
}

void findSimulatorFolder(WindowsPathLookup& lookup, Fs9Install& install)
{
    if (const auto exePath = registryExePath(install.prefix + QStringLiteral("/system.reg"))) {
        auto found = lookup.folder(*exePath);
        // Some installers store the program file itself rather than its folder.
        if (found.outcome != WindowsPathLookup::Outcome::Found &&
            exePath->endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
            found = lookup.folder(exePath->left(exePath->lastIndexOf(u'\\')));
        if (found.outcome == WindowsPathLookup::Outcome::Found) {
            install.simulatorFolder = found.path;
            install.simulatorFolderSource = Texts::tr("\"EXE Path\" in system.reg");
            return;
        }
    }
    for (const char* usual : {R"(C:\Program Files\Microsoft Games\Flight Simulator 9)",
                              R"(C:\Program Files (x86)\Microsoft Games\Flight Simulator 9)"}) {
        const auto found = lookup.folder(QLatin1String(usual));
        if (found.outcome == WindowsPathLookup::Outcome::Found &&
            lookup.child(found.path, QStringLiteral("fs9.exe"), false)) {
            install.simulatorFolder = found.path;
            install.simulatorFolderSource = Texts::tr("usual install folder");
            return;
        }
    }
}

// The first user's FS9 folder that holds FS9.cfg, else the first FS9 folder at all.
void findMainFolder(WindowsPathLookup& lookup, Fs9Install& install)
{
    const auto users = lookup.descend(install.prefix, u"drive_c/users");
    if (!users)
        return;
    for (const QString& user : QDir(*users).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QStringView relative :
             {u"AppData/Roaming/Microsoft/FS9", u"Application Data/Microsoft/FS9"}) {
            const auto folder = lookup.descend(*users + u'/' + user, relative);
            if (!folder)
                continue;
            if (lookup.child(*folder, QStringLiteral("FS9.cfg"), false)) {
                install.mainFolder = *folder;
                install.mainFileFound = true;
                return;
            }
            if (install.mainFolder.isEmpty())
                install.mainFolder = *folder;
        }
    }
}

} // namespace

QStringList winePrefixes(const QString& home, const QProcessEnvironment& environment)
{
    QStringList candidates;
    const QString fromEnvironment = environment.value(QStringLiteral("WINEPREFIX"));
    if (!fromEnvironment.isEmpty())
        candidates.append(fromEnvironment);
    const QDir homeDir(home);
    candidates.append(homeDir.filePath(QStringLiteral(".wine")));
    for (const char* launcher :
         {"Games", ".local/share/bottles/bottles", ".PlayOnLinux/wineprefix"}) {
        const QDir folder(homeDir.filePath(QLatin1String(launcher)));
        for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            candidates.append(folder.filePath(name));
    }
    QStringList prefixes;
    QSet<QString> seen;
    for (const QString& candidate : candidates) {
        const QString canonical = QFileInfo(candidate).canonicalFilePath();
        if (!QFileInfo(candidate + QStringLiteral("/drive_c")).isDir() || seen.contains(canonical))
            continue;
        seen.insert(canonical);
        prefixes.append(QDir::cleanPath(candidate));
    }
    return prefixes;
}

QList<Fs9Install> detectFs9(const QString& home, const QProcessEnvironment& environment)
{
    QList<Fs9Install> installs;
    for (const QString& prefix : winePrefixes(home, environment)) {
        Fs9Install install;
        install.prefix = prefix;
        WindowsPathLookup lookup(prefix, QString());
        findMainFolder(lookup, install);
        findSimulatorFolder(lookup, install);
        install.mainFolder = QDir::toNativeSeparators(install.mainFolder);
        install.simulatorFolder = QDir::toNativeSeparators(install.simulatorFolder);
        installs.append(install);
    }
    return installs;
}

std::optional<Fs9Install> chosenInstall(const QList<Fs9Install>& installs)
{
    for (const Fs9Install& install : installs) {
        if (install.complete())
            return install;
    }
    return std::nullopt;
}

Fs9Install detectInstalledFs9(const QSettings& key, const QString& keyName,
                              const QString& roamingFolder)
{
    Fs9Install install;
    install.prefix = keyName;
    const QString mainFolder = QDir(roamingFolder).filePath(QStringLiteral("Microsoft/FS9"));
    if (FolderExists(mainFolder)) {
        install.mainFolder = QDir::toNativeSeparators(mainFolder);
        install.mainFileFound = FileExists(AddBackslash(install.mainFolder) +
                                           spellingOnDisk(mainFolder, QStringLiteral("FS9.cfg")));
    }
    QString exePath = QDir::fromNativeSeparators(key.value(QStringLiteral("EXE Path")).toString());
    if (exePath.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) && !FolderExists(exePath))
        exePath = QFileInfo(exePath).path();
    if (!exePath.isEmpty() && FolderExists(exePath)) {
        install.simulatorFolder = QDir::toNativeSeparators(QDir::cleanPath(exePath));
        install.simulatorFolderSource = Texts::tr("\"EXE Path\" in the registry");
    }
    return install;
}

QList<Fs9Install> detectFs9OnThisSystem()
{
    // Windows knows where its programs are; elsewhere each Wine prefix is a Windows of its own.
    if (const auto key = simulatorRegistryKey())
        return {detectInstalledFs9(*key, key->fileName(), userSettingsRoot())};
    return detectFs9(QDir::homePath(), QProcessEnvironment::systemEnvironment());
}
