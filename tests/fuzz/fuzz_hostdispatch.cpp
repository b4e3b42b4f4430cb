// Whatever a guest sends, the host's reading of it: a registration that goes
// into the roster and its list text (or is refused), a text that is dropped,
// or a chat line to show. Each line of the input comes from a connection of
// its own first character's choosing, so that renames and departures mix; an
// empty line is that connection's departure. Half the connections are of
// version 2 and write UTF-8.
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "HostRoster.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    HostRoster roster(codePage);
    QList<bool> admitted(8, false);
    qint64 now = 0;
    for (const QByteArray &line : input.split('\n')) {
        if (line.isEmpty())
            continue;
        const int socket = static_cast<unsigned char>(line[0]) % 8;
        const QByteArray text = line.mid(1);
        if (text.isEmpty()) {
            if (const std::optional<int> row = roster.Remove(socket); row && !roster.departureText(*row).startsWith('-'))
                std::abort();
            admitted[socket] = false;
            continue;
        }
        if (!admitted[socket]) {
            const TextEncoding encoding = socket >= 4 ? TextEncoding::Utf8 : TextEncoding::CodePage;
            roster.admit(socket, {QStringLiteral("10.0.0.%1").arg(socket), QStringLiteral("4000")}, encoding);
            admitted[socket] = true;
        }
        now += 10;
        for (const HostRoster::GuestText &taken : roster.read(socket, text, "Hosty", now, false)) {
            if (taken.action == HostRoster::GuestText::Action::Registered) {
                // The name goes through the list box and back as text, and
                // fits a plain guest's list.
                const QByteArray name = roster.names().at(taken.entry.row);
                if (QString::fromUtf8(name).toUtf8() != name)
                    std::abort();
                if (codePage.fromUnicode(QString::fromUtf8(name)).size() > Protocol::kLongestName)
                    std::abort();
                roster.listText();
            } else if (taken.action == HostRoster::GuestText::Action::Relay) {
                SplitChatText(decodeText(taken.bytes, taken.encoding, codePage));
            }
        }
    }
    roster.expire(now + HostRoster::kRegistrationWaitMs + HostRoster::kRestOfTextWaitMs);
    return 0;
}
