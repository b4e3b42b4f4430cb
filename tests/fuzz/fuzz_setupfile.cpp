// Any file as a setup file: it loads or gives the conversion error of its
// first line; what loads, saved and loaded again, is the same setup.
#include "Cp1251CodePage.h"
#include "RuntimeErrors.h"
#include "SetupFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Cp1251CodePage codePage;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    SetupSettings first;
    try {
        first = ParseSetupFile(bytes, codePage);
    } catch (const EConvertError &) {
        return 0;
    }
    const SetupSettings again = ParseSetupFile(ComposeSetupFile(first, codePage), codePage);
    if (again.FilterMode != first.FilterMode || again.ColourName != first.ColourName
        || again.Nickname != first.Nickname || again.HostAddress != first.HostAddress
        || again.FilterLines != first.FilterLines)
        std::abort();
    return 0;
}
