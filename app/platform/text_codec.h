// Decoding of 8-bit text read from files and from the library: UTF-8 when the
// bytes are valid UTF-8, Windows-1252 otherwise (files from the older platform).
#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// Strict check: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const QByteArray &bytes);

// One byte, one character, with the 0x80-0x9F table of Windows-1252; the five
// bytes that code page leaves undefined map to the C1 control of equal value.
QString decodeWindows1252(const QByteArray &bytes);

// UTF-8 (a leading byte-order mark is dropped) when valid, else Windows-1252.
QString decodeText(const QByteArray &bytes);

// Text written by the program is always UTF-8, without byte-order mark.
QByteArray encodeText(const QString &text);

// The title that the library wrote into a reader's buffer: the bytes up to
// the first NUL, decoded, with the padding spaces at both ends removed.
QString decodeTitle(const QByteArray &buffer);

} // namespace orv
