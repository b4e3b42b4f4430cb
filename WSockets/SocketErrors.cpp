#include "SocketErrors.h"

#include <QCoreApplication>

#include <netdb.h>

#include <cerrno>
#include <map>

namespace {

const std::map<int, const char *> &ErrorTexts()
{
    static const std::map<int, const char *> texts = {
        {10004, QT_TRANSLATE_NOOP("SocketErrors", "Interrupted system call")},
        {10009, QT_TRANSLATE_NOOP("SocketErrors", "Bad file number")},
        {10013, QT_TRANSLATE_NOOP("SocketErrors", "Permission denied")},
        {10014, QT_TRANSLATE_NOOP("SocketErrors", "Bad address")},
        {10022, QT_TRANSLATE_NOOP("SocketErrors", "Invalid argument")},
        {10024, QT_TRANSLATE_NOOP("SocketErrors", "Too many open files")},
        {10035, QT_TRANSLATE_NOOP("SocketErrors", "Operation would block")},
        {10036, QT_TRANSLATE_NOOP("SocketErrors", "Operation now in progress")},
        {10037, QT_TRANSLATE_NOOP("SocketErrors", "Operation already in progress")},
        {10038, QT_TRANSLATE_NOOP("SocketErrors", "Socket operation on nonsocket")},
        {10039, QT_TRANSLATE_NOOP("SocketErrors", "Destination address required")},
        {10040, QT_TRANSLATE_NOOP("SocketErrors", "Message too long")},
        {10041, QT_TRANSLATE_NOOP("SocketErrors", "Protocol wrong type for socket")},
        {10042, QT_TRANSLATE_NOOP("SocketErrors", "Protocol not available")},
        {10043, QT_TRANSLATE_NOOP("SocketErrors", "Protocol not supported")},
        {10044, QT_TRANSLATE_NOOP("SocketErrors", "Socket not supported")},
        {10045, QT_TRANSLATE_NOOP("SocketErrors", "Operation not supported on socket")},
        {10046, QT_TRANSLATE_NOOP("SocketErrors", "Protocol family not supported")},
        {10047, QT_TRANSLATE_NOOP("SocketErrors", "Address family not supported")},
        {10048, QT_TRANSLATE_NOOP("SocketErrors", "Address already in use")},
        {10049, QT_TRANSLATE_NOOP("SocketErrors", "Can't assign requested address")},
        {10050, QT_TRANSLATE_NOOP("SocketErrors", "Network is down")},
        {10051, QT_TRANSLATE_NOOP("SocketErrors", "Network is unreachable")},
        {10052, QT_TRANSLATE_NOOP("SocketErrors", "Network dropped connection on reset")},
        {10053, QT_TRANSLATE_NOOP("SocketErrors", "Software caused connection abort")},
        {10054, QT_TRANSLATE_NOOP("SocketErrors", "Connection reset by peer")},
        {10055, QT_TRANSLATE_NOOP("SocketErrors", "No buffer space available")},
        {10056, QT_TRANSLATE_NOOP("SocketErrors", "Socket is already connected")},
        {10057, QT_TRANSLATE_NOOP("SocketErrors", "Socket is not connected")},
        {10058, QT_TRANSLATE_NOOP("SocketErrors", "Can't send after socket shutdown")},
        {10059, QT_TRANSLATE_NOOP("SocketErrors", "Too many references:can't splice")},
        {10060, QT_TRANSLATE_NOOP("SocketErrors", "Connection timed out")},
        {10061, QT_TRANSLATE_NOOP("SocketErrors", "Connection refused")},
        {10062, QT_TRANSLATE_NOOP("SocketErrors", "Too many levels of symbolic links")},
        {10063, QT_TRANSLATE_NOOP("SocketErrors", "File name is too long")},
        {10064, QT_TRANSLATE_NOOP("SocketErrors", "Host is down")},
        {10065, QT_TRANSLATE_NOOP("SocketErrors", "No route to host")},
        {10066, QT_TRANSLATE_NOOP("SocketErrors", "Directory is not empty")},
        {10067, QT_TRANSLATE_NOOP("SocketErrors", "Too many processes")},
        {10068, QT_TRANSLATE_NOOP("SocketErrors", "Too many users")},
        {10069, QT_TRANSLATE_NOOP("SocketErrors", "Disk quota exceeded")},
        {10070, QT_TRANSLATE_NOOP("SocketErrors", "Stale NFS file handle")},
        {10071, QT_TRANSLATE_NOOP("SocketErrors", "Too many levels of remote in path")},
        {10091, QT_TRANSLATE_NOOP("SocketErrors", "Network subsystem is unusable")},
        {10092, QT_TRANSLATE_NOOP("SocketErrors", "Winsock DLL cannot support this application")},
        {10093, QT_TRANSLATE_NOOP("SocketErrors", "Winsock not initialized")},
        {11001, QT_TRANSLATE_NOOP("SocketErrors", "Host not found")},
        {11002, QT_TRANSLATE_NOOP("SocketErrors", "Non authoritative - host not found")},
        {11003, QT_TRANSLATE_NOOP("SocketErrors", "Non recoverable error")},
        {11004, QT_TRANSLATE_NOOP("SocketErrors", "Valid name, no data record of requested type")},
    };
    return texts;
}

const std::map<int, int> &ErrnoNumbers()
{
    static const std::map<int, int> numbers = {
        {EINTR, 10004},           {EBADF, 10009},          {EACCES, 10013},
        {EPERM, 10013},           {EFAULT, 10014},         {EINVAL, 10022},
        {EMFILE, 10024},          {ENFILE, 10024},         {EWOULDBLOCK, 10035},
        {EINPROGRESS, 10035},     {EALREADY, 10037},       {ENOTSOCK, 10038},
        {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},       {EPROTOTYPE, 10041},
        {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
        {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},   {EAFNOSUPPORT, 10047},
        {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},  {ENETDOWN, 10050},
        {ENETUNREACH, 10051},     {ENETRESET, 10052},      {ECONNABORTED, 10053},
        {ECONNRESET, 10054},      {ENOBUFS, 10055},        {ENOMEM, 10055},
        {EISCONN, 10056},         {ENOTCONN, 10057},       {ESHUTDOWN, 10058},
        {EPIPE, 10058},           {ETOOMANYREFS, 10059},   {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},    {ELOOP, 10062},          {ENAMETOOLONG, 10063},
        {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},   {ENOTEMPTY, 10066},
        {EUSERS, 10068},          {EDQUOT, 10069},         {ESTALE, 10070},
        {EREMOTE, 10071},
    };
    return numbers;
}

} // namespace

QString SocketErrorText(int error)
{
    const auto found = ErrorTexts().find(error);
    return QLatin1String(found == ErrorTexts().end() ? QT_TRANSLATE_NOOP("SocketErrors", "Not a Winsock error")
                                                      : found->second);
}

QString ShownSocketError(int error)
{
    return ShownErrorText(SocketErrorText(error));
}

QString ShownErrorText(const QString &text)
{
    return QCoreApplication::translate("SocketErrors", text.toUtf8().constData());
}

int TranslateErrno(int errnoValue)
{
    const auto found = ErrnoNumbers().find(errnoValue);
    return found == ErrnoNumbers().end() ? errnoValue : found->second;
}

int TranslateResolverError(int resolverResult, int errnoValue)
{
    switch (resolverResult) {
    case EAI_NONAME:
        return SocketError::HostNotFound;
    case EAI_AGAIN:
        return SocketError::TryAgain;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return SocketError::NoData;
    case EAI_MEMORY:
        return SocketError::NoBufferSpace;
    case EAI_SYSTEM:
        return TranslateErrno(errnoValue);
    default:
        return SocketError::NoRecovery;
    }
}
