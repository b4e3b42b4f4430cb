// Whatever a host sends, the guest's reading of it: pieces joined, glued
// texts parted, then each a list, a departure (a bad index is a conversion
// error, nothing worse) or a text to show. The input is cut into reads at
// every newline, so that joining is fuzzed too.
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "HostTextReader.h"
#include "Protocol.h"
#include "RuntimeErrors.h"

namespace {

void Handle(const QList<HostTextReader::Text> &texts, const Cp1251CodePage &codePage)
{
    for (const HostTextReader::Text &text : texts) {
        switch (text.kind) {
        case Protocol::GuestReceives::List:
            Protocol::DecodeList(text.bytes.mid(1));
            break;
        case Protocol::GuestReceives::Departure:
            try {
                Protocol::DeparturePosition(text.bytes);
            } catch (const EConvertError &) {
            }
            break;
        case Protocol::GuestReceives::Shown:
            SplitChatText(codePage.toUnicode(text.bytes));
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    HostTextReader reader;
    for (const QByteArray &read : input.split('\n'))
        Handle(reader.take(read.left(Protocol::kReadSize)), codePage);
    Handle(reader.takeHeld(), codePage);
    return 0;
}
