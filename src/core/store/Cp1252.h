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

} // namespace cp1252
