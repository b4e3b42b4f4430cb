// The list text a guest decodes from any bytes: decoding never fails, and
// what it gives, written again and read back, is the same list.
#include "Protocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> entries = Protocol::DecodeList(text);
    // A NUL in an entry cannot be written back; such entries stop at it anyway.
    for (const QByteArray &entry : entries)
        if (entry.contains('\0'))
            std::abort();
    if (Protocol::DecodeList(Protocol::EncodeList(entries)) != entries)
        std::abort();
    return 0;
}
