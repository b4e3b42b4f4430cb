// Whatever a host sends, the guest's reading of it: a list, a departure (a
// bad index is a conversion error, nothing worse) or a text to show.
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "Protocol.h"
#include "RuntimeErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    switch (Protocol::ClassifyFromHost(text)) {
    case Protocol::GuestReceives::List:
        Protocol::DecodeList(text.mid(1));
        break;
    case Protocol::GuestReceives::Departure:
        try {
            Protocol::DeparturePosition(text);
        } catch (const EConvertError &) {
        }
        break;
    case Protocol::GuestReceives::Shown:
        SplitChatText(codePage.ToUnicode(text));
        break;
    }
    return 0;
}
