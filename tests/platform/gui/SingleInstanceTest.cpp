#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillon;

namespace {

using TMessage = std::array<char, TSingleInstance::kMessageSize>;

TMessage MakeMessage(std::string_view text) {
    TMessage message{};
    std::copy(text.begin(), text.end(), message.begin());
    return message;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString name = dir.filePath("QuillonMutex"); // a socket name of its own for every test
    std::vector<std::string> received;

    void Listen(TSingleInstance& first) {
        first.OnMessage = [this](std::span<const char> message) {
            received.emplace_back(message.begin(), message.end());
        };
        ASSERT_TRUE(first.Start(MakeMessage("first")));
        ASSERT_TRUE(first.IsFirst());
    }

    // Starts a second instance on another thread (a second start blocks until it is answered)
    // while this thread runs the event loop that answers it; gives what Start said.
    bool StartSecond(const TMessage& message, int timeoutMs = 5000) {
        std::atomic<bool> done = false;
        bool runs = true;
        std::thread second([&] {
            TSingleInstance instance(name, timeoutMs);
            runs = instance.Start(message);
            EXPECT_FALSE(instance.IsFirst());
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 10000));
        second.join();
        return runs;
    }

    // Leaves a socket file behind as an instance that died does: bound, then closed without removal.
    void LeaveDeadSocket() {
        const QByteArray path = QFile::encodeName(name);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(static_cast<size_t>(path.size()), sizeof(address.sun_path));
        std::copy(path.begin(), path.end(), address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        ASSERT_TRUE(QFileInfo::exists(name));
    }
};

TEST_F(SingleInstanceTest, TheFirstWinsAndASecondHandsOverItsMessage) {
    TSingleInstance first(name);
    Listen(first);
    const TMessage message = MakeMessage("/lists/motion.lst|y.lst");
    EXPECT_FALSE(StartSecond(message));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 1; }, 5000));
    EXPECT_EQ(received[0], std::string(message.begin(), message.end()));

    // Every later start hands over too.
    EXPECT_FALSE(StartSecond(MakeMessage("")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 5000));
    EXPECT_EQ(received[1], std::string(TSingleInstance::kMessageSize, '\0'));
}

TEST_F(SingleInstanceTest, TheSocketGoesWithTheRunningInstance) {
    {
        TSingleInstance first(name);
        Listen(first);
        EXPECT_TRUE(QFileInfo::exists(name));
    }
    EXPECT_FALSE(QFileInfo::exists(name));
    TSingleInstance next(name);
    EXPECT_TRUE(next.Start(MakeMessage("")));
    EXPECT_TRUE(next.IsFirst());
}

TEST_F(SingleInstanceTest, ADeadInstancesSocketIsRemoved) {
    LeaveDeadSocket();
    QLocalServer plain;
    EXPECT_FALSE(plain.listen(name)) << "a dead socket file blocks a plain listen";
    TSingleInstance first(name);
    Listen(first);
    // It is a working running instance.
    EXPECT_FALSE(StartSecond(MakeMessage("a.lst")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 1; }, 5000));
    EXPECT_EQ(received[0].c_str(), std::string("a.lst"));
}

TEST_F(SingleInstanceTest, ARunningInstanceThatDoesNotAnswerLetsThisOneRun) {
    TSingleInstance hung(name);
    Listen(hung);
    // This thread runs no event loop while the second waits: the running instance cannot answer.
    TSingleInstance second(name, 200);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(second.Start(MakeMessage("a.lst")));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(second.IsFirst());
    EXPECT_TRUE(hung.IsFirst());
}

TEST_F(SingleInstanceTest, ASocketThatCannotBeCreatedLetsThisOneRun) {
    TSingleInstance alone(dir.filePath("missing/folder/QuillonMutex"), 200);
    EXPECT_TRUE(alone.Start(MakeMessage("")));
    EXPECT_FALSE(alone.IsFirst());
}

TEST_F(SingleInstanceTest, AnIncompleteMessageIsDroppedUnread) {
    TSingleInstance first(name, 200);
    Listen(first);
    QLocalSocket client;
    client.connectToServer(name);
    ASSERT_TRUE(client.waitForConnected(1000));
    client.write("half a message");
    client.flush();
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == QLocalSocket::UnconnectedState; }, 5000));
    QCoreApplication::processEvents(); // hands over anything the server still has to read
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(client.bytesAvailable(), 0);
}

TEST_F(SingleInstanceTest, BytesBeyondTheMessageAreNotRead) {
    TSingleInstance first(name);
    Listen(first);
    QLocalSocket client;
    client.connectToServer(name);
    ASSERT_TRUE(client.waitForConnected(1000));
    const std::string message = std::string(TSingleInstance::kMessageSize, 'm') + std::string(100, 'x');
    client.write(message.data(), static_cast<qint64>(message.size()));
    client.flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 1; }, 5000));
    EXPECT_EQ(received[0], std::string(TSingleInstance::kMessageSize, 'm'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() > 0; }, 5000));
    QCoreApplication::processEvents(); // hands over anything the server still has to read
    EXPECT_EQ(received.size(), 1u);
}

// A message whose head announces more: the receiver waits for all of it and hands it over whole.
TEST_F(SingleInstanceTest, ALongerMessageArrivesWhole) {
    TSingleInstance first(name);
    first.MessageSize = [](std::span<const char> head) {
        return std::string_view(head.data(), 4) == "LONG" ? TSingleInstance::kMessageSize + 400
                                                          : TSingleInstance::kMessageSize;
    };
    Listen(first);
    std::string message = "LONG" + std::string(TSingleInstance::kMessageSize - 4, '\0') + std::string(400, 'p');
    std::atomic<bool> done = false;
    bool runs = true;
    std::thread second([&] {
        TSingleInstance instance(name);
        runs = instance.Start(message);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load() && received.size() == 1; }, 10000));
    second.join();
    EXPECT_FALSE(runs);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], message);
}

// A stranger: another user (nobody) in a child process, reaching the socket that this test opens
// to it. Needs root.
constexpr uid_t kStranger = 65534;

// Runs Act as the stranger in a child process; its exit code.
template <class Act> int AsStranger(Act act) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kStranger) != 0 || ::setuid(kStranger) != 0) ::_exit(2);
        ::_exit(act());
    }
    int status = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

sockaddr_un Address(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    return address;
}

// Both ends talk only to a peer of their own user: a running instance drops a stranger's message
// unread, and a start that finds a stranger listening runs by itself without handing anything over.
TEST_F(SingleInstanceTest, PeersOfAnotherUserAreNotTalkedTo) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another user";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const sockaddr_un address = Address(name);
    {
        TSingleInstance first(name);
        Listen(first);
        ASSERT_EQ(::chmod(address.sun_path, 0777), 0);
        // 1: acknowledged.
        EXPECT_EQ(AsStranger([&] {
                      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                      if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return 3;
                      const TMessage message = MakeMessage("/home/stranger/trap.lst");
                      if (::write(fd, message.data(), message.size()) != TSingleInstance::kMessageSize) return 0;
                      char answer = 0;
                      return ::read(fd, &answer, 1) == 1 ? 1 : 0;
                  }),
                  0);
        QCoreApplication::processEvents();
        EXPECT_TRUE(received.empty());
    }
    // 1: something was handed over.
    std::atomic<bool> listening = false;
    std::thread start([&] {
        while (!QFileInfo::exists(name)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // it listens just after binding
        listening = true;
        TSingleInstance second(name, 1000);
        EXPECT_TRUE(second.Start(MakeMessage("/lists/secret.lst")));
    });
    EXPECT_EQ(AsStranger([&] {
                  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                      ::listen(fd, 1) != 0)
                      return 3;
                  const int peer = ::accept(fd, nullptr, nullptr);
                  char byte = 0;
                  const bool got = ::read(peer, &byte, 1) == 1;
                  ::write(peer, "\x06", 1);
                  return got ? 1 : 0;
              }),
              0);
    start.join();
    EXPECT_TRUE(listening.load());
}

// The socket's folder is the user's own, made private; any other folder of that name is refused
// (the start then runs by itself). A runtime folder that another user made first changes nothing.
TEST(SingleInstanceNameTest, LivesInAFolderPrivateToTheUser) {
    QTemporaryDir temp;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTemp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString folder = temp.filePath("quillon-" + QString::number(::geteuid()));
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::geteuid() == 0) { // the fallback runtime folder of the toolkit, taken by another user
        const QByteArray runtime = QFile::encodeName(temp.filePath("runtime-" + QString(::getpwuid(0)->pw_name)));
        ASSERT_EQ(::mkdir(runtime.constData(), 0700), 0);
        ASSERT_EQ(::chown(runtime.constData(), kStranger, kStranger), 0);
    }
    EXPECT_EQ(TSingleInstance::PerUserName("QuillonMutex").toStdString(), (folder + "/QuillonMutex").toStdString());
    ASSERT_EQ(::lstat(path.constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(TSingleInstance::MakePrivateFolder(folder)) << "made before: still private";
    const QString runtime = temp.filePath("run");
    ASSERT_TRUE(QDir().mkdir(runtime));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    EXPECT_EQ(TSingleInstance::PerUserName("QuillonMutex").toStdString(),
              (runtime + "/quillon-" + QString::number(::geteuid()) + "/QuillonMutex").toStdString());
    qunsetenv("XDG_RUNTIME_DIR");

    // Folders that are not private.
    ASSERT_EQ(::chmod(path.constData(), 0755), 0);
    EXPECT_FALSE(TSingleInstance::MakePrivateFolder(folder)) << "open to others";
    EXPECT_EQ(TSingleInstance::PerUserName("QuillonMutex").toStdString(), "");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(path.constData(), 0700), 0);
        ASSERT_EQ(::chown(path.constData(), kStranger, kStranger), 0);
        EXPECT_FALSE(TSingleInstance::MakePrivateFolder(folder)) << "another user's";
    }
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QString target = temp.filePath("private");
    ASSERT_EQ(::mkdir(QFile::encodeName(target).constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(target, folder));
    EXPECT_FALSE(TSingleInstance::MakePrivateFolder(folder)) << "a link";
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QFile(folder).open(QIODevice::WriteOnly));
    EXPECT_FALSE(TSingleInstance::MakePrivateFolder(folder)) << "a file";

    // Without a private folder there is no socket: the start runs by itself.
    TSingleInstance alone(QString(), 200);
    EXPECT_TRUE(alone.Start(MakeMessage("")));
    EXPECT_FALSE(alone.IsFirst());
    qputenv("TMPDIR", oldTemp);
    if (!oldRuntime.isEmpty()) qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

} // namespace
