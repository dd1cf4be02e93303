#include "ConfigText.h"

#include <QStringDecoder>
#include <algorithm>

QString decodeConfigText(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString caseFolded(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        if (c.unicode() >= 0x80)
            return text.toCaseFolded();
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}
