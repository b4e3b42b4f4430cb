#include "Cp1251CodePage.h"

#include <iconv.h>

namespace {

// Decodes one byte of Windows-1251 through iconv; 0 when iconv has no mapping.
char16_t DecodeByte(iconv_t converter, unsigned char byte)
{
    char in[1] = {static_cast<char>(byte)};
    char16_t out[2] = {};
    char *inPointer = in;
    char *outPointer = reinterpret_cast<char *>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
        return 0;
    return out[0];
}

} // namespace

Cp1251CodePage::Cp1251CodePage()
{
    iconv_t converter = iconv_open("UTF-16LE", "CP1251");
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char16_t unit = 0;
        if (converter != reinterpret_cast<iconv_t>(-1))
            unit = DecodeByte(converter, static_cast<unsigned char>(byte));
        if (unit == 0)
            unit = static_cast<char16_t>(byte); // undefined in the code page: keep the byte's value
        upperHalf[byte - 0x80] = unit;
        byteOf.insert(unit, static_cast<char>(byte));
    }
    if (converter != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter);
}

QByteArray Cp1251CodePage::fromUnicode(const QString &text) const
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        // A character beyond the 16-bit range is two units but still one "?".
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(byteOf.value(unit, '?'));
    }
    return bytes;
}

QString Cp1251CodePage::toUnicode(const QByteArray &bytes) const
{
    // Sized once and written in place: every relayed line passes through here.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *unit = text.data();
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *unit++ = value < 0x80 ? QChar(value) : QChar(upperHalf[value - 0x80]);
    }
    return text;
}
