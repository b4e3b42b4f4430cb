// Whatever a guest sends, the host's reading of it: a registration that goes
// into the list text, a control text that is dropped, or a chat line to show.
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "Protocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    switch (Protocol::ClassifyFromGuest(text)) {
    case Protocol::HostReceives::Registration: {
        // The name goes through the list box and back as text.
        const QByteArray name = codePage.FromUnicode(codePage.ToUnicode(text.mid(1)));
        if (name != text.mid(1))
            std::abort();
        Protocol::ListMessage({"Anna", name, "Bob"});
        break;
    }
    case Protocol::HostReceives::ControlText:
        break;
    case Protocol::HostReceives::ChatLine:
        SplitChatText(codePage.ToUnicode(text));
        break;
    }
    return 0;
}
