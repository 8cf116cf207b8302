#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// Text in the data files and in settings.data is Windows-1252. These two
// functions are the only place where it is converted; everything above the
// file boundary works with QString.
namespace cp1252 {

// Decodes bytes; the five code points that Windows-1252 leaves undefined map
// to the C1 control characters of the same value, as Windows does.
QString decode(const char *bytes, std::size_t length);
inline QString decode(const QByteArray &bytes) { return decode(bytes.constData(), std::size_t(bytes.size())); }

// Encodes text; a character outside Windows-1252 becomes '?', one byte per
// character, so a name is never cut in the middle of a character.
QByteArray encode(const QString &text);

// Whether every character of the text has a Windows-1252 byte.
bool holds(const QString &text);

// A name as the records store it: Windows-1252 when the code page holds
// every character (the first `capacity` of them) and those bytes read back
// as the same name, so that such files stay as they always were; otherwise
// UTF-8, cut at a character boundary to fit.
QByteArray encodeName(const QString &text, std::size_t capacity);
// Valid UTF-8 with at least one multi-byte sequence reads as UTF-8, anything
// else as Windows-1252.
QString decodeName(const char *bytes, std::size_t length);

} // namespace cp1252
