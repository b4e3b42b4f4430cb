#pragma once

#include <QString>

// Socket error numbers as the program and its users know them, with their
// fixed English texts. The chat decides by the numbers; the texts are for
// people to read.
namespace SocketError {
constexpr int TooManyOpenFiles = 10024;
constexpr int WouldBlock = 10035;
constexpr int NoBufferSpace = 10055;
constexpr int NotConnected = 10057;
constexpr int NetworkDown = 10050;
constexpr int ConnectionReset = 10054;
constexpr int SendAfterShutdown = 10058;
constexpr int AddressInUse = 10048;
constexpr int ConnectionRefused = 10061;
constexpr int HostNotFound = 11001;
constexpr int TryAgain = 11002;
constexpr int NoRecovery = 11003;
constexpr int NoData = 11004;
} // namespace SocketError

// The fixed text of an error number; "Not a Winsock error" for any number not in the table.
QString SocketErrorText(int error);
// The same text in the user's language, for a message box or the status bar.
QString ShownSocketError(int error);
// A failure text in the user's language when it is one of the fixed texts
// (the table above, or a secure connection's own); any other text as it is.
QString ShownErrorText(const QString &text);

// An errno value of a failed socket call, in the numbering above.
// EINPROGRESS counts as "would block": the attempt goes on.
int TranslateErrno(int errnoValue);

// A getaddrinfo() result other than 0, in the numbering above; errnoValue
// matters for EAI_SYSTEM only.
int TranslateResolverError(int resolverResult, int errnoValue);
