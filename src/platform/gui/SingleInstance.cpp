#include "SingleInstance.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

constexpr char kAcknowledge = '\x06';

int Remaining(const QDeadlineTimer& deadline) { return static_cast<int>(deadline.remainingTime()); }

} // namespace

TSingleInstance::TSingleInstance(const QString& Name, int TimeoutMs)
    : FName(Name), FTimeoutMs(TimeoutMs), FServer(std::make_unique<QLocalServer>()) {
    QObject::connect(FServer.get(), &QLocalServer::newConnection, FServer.get(), [this] { AcceptConnections(); });
}

// Destroying the server closes it, which removes its socket file.
TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::PerUserName(const QString& Base) {
    QString parent = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (parent.isEmpty()) parent = QDir::tempPath();
    const QString folder = parent + QLatin1String("/quillon-") + QString::number(::geteuid());
    return MakePrivateFolder(folder) ? folder + QLatin1Char('/') + Base : QString();
}

bool TSingleInstance::MakePrivateFolder(const QString& Folder) {
    const QByteArray path = QFile::encodeName(Folder);
    ::mkdir(path.constData(), 0700);
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

bool TSingleInstance::Start(std::span<const char> Message) {
    if (FName.isEmpty()) return true;
    // The second round follows the removal of a dead instance's socket file.
    for (int round = 0; round < 2; ++round) {
        if (FServer->listen(FName)) return true;
        if (FServer->serverError() != QAbstractSocket::AddressInUseError) return true;
        QLocalSocket socket;
        socket.connectToServer(FName);
        if (socket.waitForConnected(FTimeoutMs)) return !Trusted(socket) || !HandOver(socket, Message);
        const QLocalSocket::LocalSocketError error = socket.error();
        if (error != QLocalSocket::ConnectionRefusedError && error != QLocalSocket::ServerNotFoundError) return true;
        QLocalServer::removeServer(FName);
    }
    return true;
}

bool TSingleInstance::IsFirst() const { return FServer->isListening(); }

bool TSingleInstance::Trusted(const QLocalSocket& Socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(Socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

bool TSingleInstance::HandOver(QLocalSocket& Socket, std::span<const char> Message) {
    const QDeadlineTimer deadline(FTimeoutMs);
    Socket.write(Message.data(), static_cast<qint64>(Message.size()));
    while (Socket.bytesToWrite() > 0)
        if (!Socket.waitForBytesWritten(Remaining(deadline))) return false;
    while (Socket.bytesAvailable() < 1)
        if (!Socket.waitForReadyRead(Remaining(deadline))) return false;
    char answer = 0;
    return Socket.getChar(&answer) && answer == kAcknowledge;
}

void TSingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        if (!Trusted(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Receive(socket); });
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(FTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        Receive(socket);
    }
}

void TSingleInstance::Receive(QLocalSocket* Socket) {
    if (Socket->bytesAvailable() < kMessageSize) return;
    qsizetype size = kMessageSize;
    if (MessageSize) {
        const QByteArray head = Socket->peek(kMessageSize);
        size = std::clamp(MessageSize(std::span<const char>(head.constData(), static_cast<size_t>(head.size()))),
                          kMessageSize, kMaxMessageSize);
    }
    if (Socket->bytesAvailable() < size) return;
    QByteArray message = Socket->read(size);
    QObject::disconnect(Socket, &QLocalSocket::readyRead, nullptr, nullptr); // one message per connection
    Socket->putChar(kAcknowledge);
    Socket->flush();
    Socket->disconnectFromServer();
    // Acted on from the event loop, after this socket's signal has returned: the handler may run a
    // modal loop in which the socket is deleted.
    QTimer::singleShot(0, FServer.get(), [this, message = std::move(message)] {
        if (OnMessage) OnMessage(std::span<const char>(message.constData(), static_cast<size_t>(message.size())));
    });
}

} // namespace quillon
