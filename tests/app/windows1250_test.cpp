#include "app/windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

// The table against the converter of Qt built with ICU, as on Linux, for every character there
// is and every byte: what it encodes, the table encodes to the same byte; what it cannot, whether
// it marks it with its substitute SUB or drops it (an invisible joiner, a byte order mark), the
// table sends as "?", as the report always has.
TEST(Windows1250, EveryCharacterAndEveryByteAsTheLinuxConverter)
{
    if (!QStringEncoder("windows-1250").isValid()) {
        GTEST_SKIP() << "this Qt has no Windows-1250 converter to compare with";
    }
    int encodable = 0;
    for (char32_t character = 0; character <= 0x10FFFF; ++character) {
        if (character >= 0xD800 && character <= 0xDFFF) {
            continue; // halves of UTF-16 pairs: the report reads a lone one as U+FFFD
        }
        QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(QString::fromUcs4(&character, 1));
        const bool encoded =
            bytes.size() == 1 && !encoder.hasError() && (bytes[0] != '\x1a' || character == 0x1a);
        encodable += encoded;
        ASSERT_EQ(windows1250Byte(character), encoded ? static_cast<std::uint8_t>(bytes[0]) : '?')
            << "U+" << std::hex << static_cast<unsigned>(character);
    }
    EXPECT_EQ(encodable, 256);
    for (int code = 0; code < 256; ++code) {
        const char byte = static_cast<char>(code);
        ASSERT_EQ(fromWindows1250(QByteArrayView(&byte, 1)),
                  QStringDecoder("windows-1250").decode(QByteArrayView(&byte, 1)))
            << "byte " << code;
    }
}

} // namespace
} // namespace voltmetr
