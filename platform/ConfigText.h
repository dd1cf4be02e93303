#pragma once

#include <QByteArrayView>
#include <QString>

// Text from the simulator's 8-bit files as characters, without losing a byte: text that is valid
// UTF-8 is read as UTF-8, any other text byte for byte as Latin-1 (so toLatin1() gives its bytes
// back). The files themselves carry no mark of their encoding.
QString decodeConfigText(QByteArrayView bytes);

// The text with letter case folded, for names compared as Windows compares file and key names.
// ASCII text, the usual case, is folded without Unicode's tables, which cost far more.
QString caseFolded(const QString& text);
