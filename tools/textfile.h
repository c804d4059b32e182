#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace voltmetr {

// Text that Windows editors save as "Unicode": UTF-16, little-endian ("Unicode") or big-endian
// ("Unicode big endian"), with a byte order mark, or without one where the zero bytes of the
// Latin letters tell which way round it is.
struct Utf16Text
{
    QString text;         // without the byte order mark
    QString encoding;     // for the teacher: "UTF-16 LE" or "UTF-16 BE"
    bool damaged = false; // a half character at the end or a lone surrogate, read as U+FFFD
};

// The text when the bytes are UTF-16, else none.
std::optional<Utf16Text> readUtf16(QByteArrayView bytes);

} // namespace voltmetr
