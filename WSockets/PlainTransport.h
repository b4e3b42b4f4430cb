#pragma once

#include "Transport.h"

// A connection's bytes as they are, straight through its descriptor.
class PlainTransport final : public Transport {
public:
    explicit PlainTransport(int socket) : socket(socket) {}

    TransportResult read(char *into, qsizetype size, bool peek = false) override;
    TransportResult write(const char *from, qsizetype size) override;
    int shutdownSending() override;
    bool hasMoreToRead() const override { return false; }
    qsizetype bytesWaiting() const override;

private:
    int socket;
};

// Every connection plain.
class PlainTransportMaker final : public TransportMaker {
public:
    ConnectionLayers forConnection(int socket) override { return {std::make_unique<PlainTransport>(socket), nullptr}; }
};
