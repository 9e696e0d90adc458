#pragma once
// One running instance per user.
//
// The running instance listens on a local socket; its existence marks the instance. A later start
// finds the socket, writes one message of at least kMessageSize bytes and waits for a one-byte
// acknowledgement, which the running instance sends as soon as it has the whole message (before
// acting on it, so that a message box it shows meanwhile cannot make the sender give up). How long
// a message is the receiver learns from its first kMessageSize bytes through MessageSize; without
// it every message is kMessageSize bytes.
//
// Failures never keep the program from starting:
// - a socket file left by an instance that died (nobody accepts on it) is removed and taken over;
// - a running instance that does not accept, read or acknowledge within the timeout is left alone
//   and this start runs by itself, without the socket;
// - a connection that does not deliver a whole message within the timeout is dropped unread.
#include <QString>

#include <functional>
#include <memory>
#include <span>

class QLocalServer;
class QLocalSocket;

namespace quillon {

class TSingleInstance {
public:
    static constexpr qsizetype kMessageSize = 256;
    static constexpr qsizetype kMaxMessageSize = kMessageSize + 65536;
    static constexpr int kDefaultTimeoutMs = 5000;

    // Name: a socket name (placed in the temporary folder) or an absolute path.
    explicit TSingleInstance(const QString& Name, int TimeoutMs = kDefaultTimeoutMs);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // The per-user socket path for Base: in the user's private runtime folder.
    static QString PerUserName(const QString& Base);

    // True when this start is to run: it became the running instance (IsFirst) or the running one
    // did not answer. False when the running instance acknowledged Message (kMessageSize to
    // kMaxMessageSize bytes): this start ends.
    bool Start(std::span<const char> Message);
    bool IsFirst() const;

    // The size of the whole message that begins with Head (its first kMessageSize bytes), at most
    // kMaxMessageSize; unset: kMessageSize.
    std::function<qsizetype(std::span<const char> Head)> MessageSize;
    // Called on the running instance with each whole message received.
    std::function<void(std::span<const char> Message)> OnMessage;

private:
    bool Listen();
    bool HandOver(QLocalSocket& Socket, std::span<const char> Message);
    void AcceptConnections();
    void Receive(QLocalSocket* Socket);

    QString FName;
    int FTimeoutMs;
    std::unique_ptr<QLocalServer> FServer; // listening exactly while this is the running instance
};

} // namespace quillon
