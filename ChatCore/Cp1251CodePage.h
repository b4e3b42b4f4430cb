#pragma once

#include "CodePage.h"

#include <QHash>

#include <array>

// Windows-1251 (Cyrillic). The table of the upper 128 bytes comes from glibc's
// iconv once; the one byte that code page leaves undefined (0x98) stands for
// U+0098, so every byte survives a round trip through text.
class Cp1251CodePage final : public CodePage {
public:
    Cp1251CodePage();

    QByteArray fromUnicode(const QString &text) const override;
    QString toUnicode(const QByteArray &bytes) const override;

private:
    std::array<char16_t, 128> upperHalf{};
    QHash<char16_t, char> byteOf;
};
