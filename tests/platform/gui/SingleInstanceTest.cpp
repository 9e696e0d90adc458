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
#include <sys/socket.h>
#include <sys/un.h>
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

TEST(SingleInstanceNameTest, LivesInTheUsersRuntimeFolder) {
    const QString name = TSingleInstance::PerUserName("QuillonMutex");
    EXPECT_TRUE(QDir::isAbsolutePath(name)) << name.toStdString();
    EXPECT_TRUE(name.endsWith("/QuillonMutex")) << name.toStdString();
}

} // namespace
