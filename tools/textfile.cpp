#include "textfile.h"

#include <QStringDecoder>

namespace voltmetr {

namespace {

enum class ByteOrder
{
    None,
    LittleEndian,
    BigEndian
};

// Without a byte order mark: the high byte of every Latin letter is zero, always on the same side
// of the pair, while the other byte never is. Czech letters (U+010C to U+017E) have no zero byte.
ByteOrder byteOrderOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe")) {
        return ByteOrder::LittleEndian;
    }
    if (bytes.startsWith("\xfe\xff")) {
        return ByteOrder::BigEndian;
    }
    const qsizetype pairs = bytes.size() / 2;
    qsizetype zerosFirst = 0;
    qsizetype zerosSecond = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        zerosFirst += bytes[i] == '\0' ? 1 : 0;
        zerosSecond += bytes[i + 1] == '\0' ? 1 : 0;
    }
    const auto mostly = [&](qsizetype zeros) { return pairs > 0 && zeros * 3 >= pairs; };
    if (mostly(zerosFirst) && zerosSecond == 0) {
        return ByteOrder::BigEndian;
    }
    return mostly(zerosSecond) && zerosFirst == 0 ? ByteOrder::LittleEndian : ByteOrder::None;
}

} // namespace

std::optional<Utf16Text> readUtf16(QByteArrayView bytes)
{
    const ByteOrder order = byteOrderOf(bytes);
    if (order == ByteOrder::None) {
        return std::nullopt;
    }
    const bool little = order == ByteOrder::LittleEndian;
    // The decoder drops a byte order mark at the start.
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    Utf16Text read{decoder.decode(bytes),
                   little ? QStringLiteral("UTF-16 LE") : QStringLiteral("UTF-16 BE")};
    read.damaged = decoder.hasError() || !read.text.isValidUtf16() || bytes.size() % 2 != 0;
    return read;
}

} // namespace voltmetr
