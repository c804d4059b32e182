#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace voltmetr {

// Windows-1250, the single-byte Central European code page of the report and of class lists
// saved on Windows. It is converted here, by its own table, rather than by Qt: Qt for Windows
// carries no converter for it, and a report must have the same bytes whichever computer made it.

// The byte of one character (a code point), "?" where the code page has none: a letter from
// another alphabet, an emoji, a lone half of a UTF-16 pair, an invisible joiner. Bytes 0x81,
// 0x83, 0x88, 0x90 and 0x98, which the code page leaves unassigned, stand for the control
// characters U+0081, U+0083, U+0088, U+0090 and U+0098, so that every byte reads back as itself.
std::uint8_t windows1250Byte(char32_t character);

// The text that bytes in Windows-1250 stand for; every byte is one character.
QString fromWindows1250(QByteArrayView bytes);

} // namespace voltmetr
