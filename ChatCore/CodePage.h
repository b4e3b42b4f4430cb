#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of the wire, the setup files and the transcripts.
// One byte per character; a character the code page lacks becomes "?".
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual QByteArray fromUnicode(const QString &text) const = 0;
    virtual QString toUnicode(const QByteArray &bytes) const = 0;
};
