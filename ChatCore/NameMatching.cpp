#include "NameMatching.h"

#include <QList>

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/uspoof.h>

#include <memory>

namespace {

// One checker a thread: opening one reads ICU's confusables data.
USpoofChecker *Checker()
{
    thread_local const std::unique_ptr<USpoofChecker, void (*)(USpoofChecker *)> checker = [] {
        UErrorCode status = U_ZERO_ERROR;
        USpoofChecker *made = uspoof_open(&status);
        uspoof_setChecks(made, USPOOF_CONFUSABLE, &status);
        if (U_FAILURE(status)) {
            uspoof_close(made);
            made = nullptr;
        }
        return std::unique_ptr<USpoofChecker, void (*)(USpoofChecker *)>(made, uspoof_close);
    }();
    return checker.get();
}

const UChar *Utf16(const QString &text)
{
    return reinterpret_cast<const UChar *>(text.utf16());
}

} // namespace

namespace NameMatching {

QString FromWire(const QByteArray &name)
{
    UErrorCode status = U_ZERO_ERROR;
    QString text(name.size() * 2 + 1, Qt::Uninitialized);
    const int32_t length = ucnv_convert("UTF-16LE", "windows-1251", reinterpret_cast<char *>(text.data()),
                                        int32_t(text.size() * 2), name.constData(), int32_t(name.size()), &status);
    if (U_FAILURE(status))
        return QString(name.size(), QChar::ReplacementCharacter);
    text.resize(length / 2);
    return text;
}

bool HoldsInvisible(const QString &name)
{
    for (const uint character : name.toUcs4()) {
        const bool ignorable = u_hasBinaryProperty(UChar32(character), UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
        const bool format = u_charType(UChar32(character)) == U_FORMAT_CHAR;
        const bool otherSpace = character != U' ' && u_isUWhiteSpace(UChar32(character));
        // The code page's gap, and the converter's mark for it.
        const bool missing = character == 0xFFFD || character == 0x1A || !u_isdefined(UChar32(character));
        if (ignorable || format || otherSpace || missing)
            return true;
    }
    return false;
}

QString Key(const QString &name)
{
    const QString folded = name.trimmed().toCaseFolded();
    USpoofChecker *checker = Checker();
    if (!checker)
        return folded;
    UErrorCode status = U_ZERO_ERROR;
    QString skeleton(folded.size() * 4 + 8, Qt::Uninitialized);
    const int32_t length = uspoof_getSkeleton(checker, 0, Utf16(folded), int32_t(folded.size()),
                                              reinterpret_cast<UChar *>(skeleton.data()), int32_t(skeleton.size()),
                                              &status);
    if (U_FAILURE(status))
        return folded;
    skeleton.resize(length);
    return skeleton;
}

} // namespace NameMatching
