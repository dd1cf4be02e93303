#pragma once

#include <QByteArray>
#include <QString>

// The encodings of a Windows-style initialisation file, read as the Windows profile functions
// read it, and the texts of its names and values, each way without loss: a value the program
// reads and writes back unchanged leaves the file's bytes as they were.
namespace ProfileEncoding {

enum class FileEncoding
{
    EightBit, // the system's local 8-bit encoding (UTF-8 on Linux, the ANSI code page on Windows)
    Utf16Le,  // UTF-16 little-endian after its byte-order mark, Notepad's "Unicode"
};

// A file's contents as the 8-bit text that the profile parser works on: an 8-bit file as it
// stands, a UTF-16 LE file as UTF-8, which keeps every ASCII character the parser looks for.
struct WorkingText
{
    QByteArray text;
    FileEncoding encoding = FileEncoding::EightBit;
};

// A file with the UTF-16 LE byte-order mark and an even size is UTF-16 LE; any other is 8-bit.
WorkingText fromFileBytes(const QByteArray& bytes);
// The file's bytes for a working text, in the encoding it was read in.
QByteArray toFileBytes(const WorkingText& working);

// A name or value of a working text as the program's text, and back. Bytes that do not decode
// in the file's encoding (a Windows code page's byte in a Linux file, say) come back each as the
// unpaired surrogate U+DC00 plus the byte, which valueToBytes writes back as that byte.
QString valueFromBytes(const QByteArray& bytes, FileEncoding encoding);
QByteArray valueToBytes(const QString& value, FileEncoding encoding);

// The first maxLength UTF-16 units of the text, one fewer where the cut would split a character
// made of two.
QString leftWhole(const QString& text, qsizetype maxLength);

} // namespace ProfileEncoding
