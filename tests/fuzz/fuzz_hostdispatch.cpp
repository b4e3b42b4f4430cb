// Whatever a guest sends, the host's reading of it: a registration that goes
// into the roster and its list text, a control text that is dropped, or a
// chat line to show. Each line of the input comes from a connection of its
// own first character's choosing, so that renames and departures mix.
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "HostRoster.h"
#include "Protocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    HostRoster roster;
    for (const QByteArray &line : input.split('\n')) {
        if (line.isEmpty())
            continue;
        const int socket = static_cast<unsigned char>(line[0]) % 8;
        const QByteArray text = line.mid(1);
        if (text.isEmpty()) {
            if (const std::optional<int> row = roster.Remove(socket); row && !roster.DepartureText(*row).startsWith('-'))
                std::abort();
            continue;
        }
        switch (Protocol::ClassifyFromGuest(text)) {
        case Protocol::HostReceives::Registration: {
            const HostRoster::Entry entry = roster.Register(socket, text.mid(1));
            // The name goes through the list box and back as text.
            const QByteArray name = roster.Names().at(entry.row);
            if (codePage.FromUnicode(codePage.ToUnicode(name)) != name)
                std::abort();
            roster.ListText();
            break;
        }
        case Protocol::HostReceives::ControlText:
            break;
        case Protocol::HostReceives::ChatLine:
            SplitChatText(codePage.ToUnicode(text));
            break;
        }
    }
    return 0;
}
