#pragma once

#include "Transport.h"

// A connection's bytes as they are, straight through its descriptor.
class PlainTransport final : public Transport {
public:
    explicit PlainTransport(int socket) : socket(socket) {}

    TransportResult Read(char *into, qsizetype size, bool peek = false) override;
    TransportResult Write(const char *from, qsizetype size) override;
    int ShutdownSending() override;
    bool HasMoreToRead() const override { return false; }
    qsizetype BytesWaiting() const override;

private:
    int socket;
};

// Every connection plain.
class PlainTransportMaker final : public TransportMaker {
public:
    ConnectionLayers ForConnection(int socket) override { return {std::make_unique<PlainTransport>(socket), nullptr}; }
};
