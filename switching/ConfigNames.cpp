#include "ConfigNames.h"

#include "DirectoryLookup.h"
#include "ProfileText.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ConfigNames)
};

// A blank the settings file's reader would trim off the name.
bool isBlank(QChar c)
{
    return c.unicode() < 0x80 && ProfileText::isBlank(char(c.unicode()));
}

} // namespace

std::optional<QString> whyNameUnusable(const QString& name)
{
    if (name.isEmpty())
        return Texts::tr("the name is empty");
    if (isBlank(name.front()) || isBlank(name.back()))
        return Texts::tr("it begins or ends with a blank");
    for (const QChar c : name) {
        if (c.unicode() < 32)
            return Texts::tr("it holds a control character");
        if (QStringView(u"\\/:*?\"<>|").contains(c))
            return Texts::tr("it holds the character %1, which a file name cannot hold").arg(c);
    }
    if (name.endsWith(u'.'))
        return Texts::tr("it ends with a dot");
    if (name.size() >= 2 && name.startsWith(u'\'') && name.endsWith(u'\''))
        return Texts::tr("it is wrapped in single quotes");
    return std::nullopt;
}

std::optional<QString> nameRefusal(const QString& name)
{
    const auto why = whyNameUnusable(name);
    if (!why)
        return std::nullopt;
    return Texts::tr("The name \"%1\" cannot be used for a configuration: %2.").arg(name, *why);
}

bool sameConfigName(const QString& a, const QString& b)
{
    return sameFileName(a, b);
}

qsizetype positionOfName(const QStringList& entries, const QString& name)
{
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
        return sameConfigName(entry, name);
    });
    return found == entries.end() ? -1 : found - entries.begin();
}
