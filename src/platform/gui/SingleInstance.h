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
// The socket lives in a folder private to the user (PerUserName), so no other user can listen in
// its place or reach it; and both ends still check that the peer runs as the same user (its
// credentials on the socket) before they talk: a peer of another user is dropped unread, and a
// start that finds one runs by itself.
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

    // Name: the socket's absolute path; empty: no socket, the start runs by itself.
    explicit TSingleInstance(const QString& Name, int TimeoutMs = kDefaultTimeoutMs);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // The per-user socket path for Base: in the folder "quillon-" + the user's id inside the
    // runtime folder ($XDG_RUNTIME_DIR) or, without one, the temporary folder; empty when that
    // folder cannot be made private.
    static QString PerUserName(const QString& Base);
    // Creates Folder (mode 0700) when it is missing; true when it is then a folder, not a link,
    // owned by this user and closed to all others.
    static bool MakePrivateFolder(const QString& Folder);

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
    static bool Trusted(const QLocalSocket& Socket); // the peer runs as this process's user
    bool HandOver(QLocalSocket& Socket, std::span<const char> Message);
    void AcceptConnections();
    void Receive(QLocalSocket* Socket);

    QString FName;
    int FTimeoutMs;
    std::unique_ptr<QLocalServer> FServer; // listening exactly while this is the running instance
};

} // namespace quillon
