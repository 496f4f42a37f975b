// The accessory service: the manager and its notifications, sessions, and
// the sim, tcp and serial transports over real byte streams.
#include "platform/transport/ByteStream.h"
#include "platform/transport/DeviceAddress.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/EASession.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/SerialAccessoryTransport.h"
#include "platform/transport/SerialPortScanner.h"
#include "platform/transport/SocketLink.h"
#include "platform/transport/TcpAccessoryTransport.h"
#include "platform/transport/TransportRegistry.h"
#include "platform/transport/UsbIdentity.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace testsupport;

namespace {

const QString kProtocol = QStringLiteral("example.q3dart.protocol");

// Opens a session on an accessory and gathers what its input stream reads.
class SessionProbe : public StreamDelegate {
public:
    explicit SessionProbe(const EAAccessoryPtr& accessory)
        : session(EASession::create(accessory, kProtocol))
    {
        if (!session)
            return;
        for (ByteStream* s :
            { static_cast<ByteStream*>(session->inputStream()), static_cast<ByteStream*>(session->outputStream()) }) {
            s->setDelegate(this);
            s->scheduleInRunLoop();
            s->open();
        }
    }
    void streamHandleEvent(ByteStream*, StreamEvent event) override
    {
        events << int(event);
        if (event != StreamEvent::HasBytesAvailable)
            return;
        uint8_t buffer[64];
        qint64 n;
        while ((n = session->inputStream()->read(buffer, sizeof buffer)) > 0)
            received.append(reinterpret_cast<const char*>(buffer), n);
    }
    qint64 send(const QByteArray& bytes)
    {
        return session->outputStream()->write(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    }
    std::shared_ptr<EASession> session;
    QByteArray received;
    QList<int> events;
};

EAAccessoryPtr waitForAttachment()
{
    EAAccessoryPtr found;
    waitUntil([&] {
        const auto list = EAAccessoryManager::sharedAccessoryManager().connectedAccessories();
        if (!list.empty())
            found = list.front();
        return bool(found);
    });
    return found;
}

bool waitForNoAttachment()
{
    return waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); });
}

} // namespace

class TestAccessoryService : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QVERIFY(waitForNoAttachment());
        EAAccessoryManager::sharedAccessoryManager().unregisterForLocalNotifications();
        NotificationCenter::defaultCenter().removeObserver(this);
    }

    void theSimulatedControllerAttachesAndAnnouncesOnlyOnceRegistered()
    {
        QList<QPair<QString, quint64>> notes;
        for (const QString& name : { EAAccessoryDidConnectNotification, EAAccessoryDidDisconnectNotification })
            NotificationCenter::defaultCenter().addObserver(this, name, [&notes](const Notification& n) {
                notes.append({ n.name, n.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>()->connectionID() });
            });
        auto* transport = new SimAccessoryTransport(
            EAAccessoryManager::sharedAccessoryManager(), new SimulatedController, { kProtocol });
        transport->start();
        const EAAccessoryPtr first = waitForAttachment();
        QVERIFY(first);
        QVERIFY(notes.isEmpty()); // not registered yet
        QCOMPARE(first->protocolStrings(), QStringList { kProtocol });

        EAAccessoryManager::sharedAccessoryManager().registerForLocalNotifications();
        transport->controller()->unplug(20);
        QVERIFY(waitForNoAttachment());
        const EAAccessoryPtr second = waitForAttachment();
        QVERIFY(second);
        QVERIFY(second->connectionID() != first->connectionID());
        QVERIFY(!first->isConnected());
        QCOMPARE(notes.size(), 2);
        QCOMPARE(notes[0], qMakePair(EAAccessoryDidDisconnectNotification, first->connectionID()));
        QCOMPARE(notes[1], qMakePair(EAAccessoryDidConnectNotification, second->connectionID()));

        // Bytes flow both ways through a session's streams.
        SessionProbe probe(second);
        QVERIFY(probe.session);
        QVERIFY(!EASession::create(second, kProtocol)); // one session at a time
        QVERIFY(!EASession::create(second, QStringLiteral("other")));
        QTRY_VERIFY(probe.events.contains(int(StreamEvent::HasSpaceAvailable)));
        QCOMPARE(probe.send(QByteArray("\x20\x9F", 2)), 2);
        QTRY_COMPARE(probe.received, QByteArray("\x20\x9F\x01\x05", 4));

        transport->controller()->unplug(-1);
        QTRY_VERIFY(probe.events.contains(int(StreamEvent::EndEncountered)));
        QCOMPARE(probe.send("x"), -1);
        delete transport;
    }

    void tcpAttachmentsFollowTheConnectionAndComeBackAfterARestart()
    {
        auto* server = new SimTcpServer(new SimulatedController);
        server->controller()->setVersions(QStringLiteral("1.0-2.3-1.7"));
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
        auto* transport = new TcpAccessoryTransport(EAAccessoryManager::sharedAccessoryManager(),
            QStringLiteral("127.0.0.1"), server->serverPort(), { kProtocol });
        transport->start();
        const EAAccessoryPtr first = waitForAttachment();
        QVERIFY(first);
        {
            SessionProbe probe(first);
            QTRY_VERIFY(probe.events.contains(int(StreamEvent::HasSpaceAvailable)));
            probe.send(QByteArray("\x20\x9F", 2));
            QTRY_COMPARE(probe.received, QByteArray("\x20\x9F\x01\x07", 4));
        }
        // The controller restarts: the connection drops, the transport retries
        // until the controller listens again, and a new attachment appears.
        server->controller()->unplug(300);
        QVERIFY(waitForNoAttachment());
        const EAAccessoryPtr second = waitForAttachment();
        QVERIFY(second);
        QVERIFY(second->connectionID() != first->connectionID());
        delete transport;
        QVERIFY(waitForNoAttachment());
        delete server;
    }

    void aRefusedTcpConnectionIsReportedAndRetried()
    {
        const quint16 port = unusedPort();
        auto* transport = new TcpAccessoryTransport(
            EAAccessoryManager::sharedAccessoryManager(), QStringLiteral("127.0.0.1"), port, { kProtocol });
        transport->start();
        QTRY_VERIFY(!transport->lastError().isEmpty());
        QVERIFY(EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty());
        QCOMPARE(transport->description(), QStringLiteral("tcp:127.0.0.1:%1").arg(port));

        auto* server = new SimTcpServer(new SimulatedController);
        QVERIFY(server->listen(QHostAddress::LocalHost, port));
        QVERIFY(waitForAttachment());
        QVERIFY(transport->lastError().isEmpty());
        delete transport;
        delete server;
    }

    // A name is looked up away from the event loop and every address it
    // has is tried; a name that has none is reported, and tried again.
    void aTcpHostNameIsResolvedAndAnUnknownOneReported()
    {
        auto* server = new SimTcpServer(new SimulatedController);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
        auto* named = new TcpAccessoryTransport(EAAccessoryManager::sharedAccessoryManager(),
            QStringLiteral("localhost"), server->serverPort(), { kProtocol });
        named->start();
        QVERIFY(waitForAttachment());
        QVERIFY(named->lastError().isEmpty());
        delete named;
        QVERIFY(waitForNoAttachment());
        delete server;

        auto* unknown = new TcpAccessoryTransport(
            EAAccessoryManager::sharedAccessoryManager(), QStringLiteral("no-such-host.invalid"), 5000, { kProtocol });
        unknown->start();
        QVERIFY(waitUntil([&] { return !unknown->lastError().isEmpty(); }));
        QVERIFY(EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty());
        // Given up while a lookup may be under way: its answer goes nowhere.
        delete unknown;
    }

    // The socket link reads and writes its descriptor itself: what the
    // kernel does not take at once waits, in order, until the high-water
    // mark says full; the peer's reading frees it, every byte arrives
    // once, and the peer's close ends the link from the event loop.
    void aSocketLinkKeepsEveryByteInOrderAndHearsTheClose()
    {
        int ends[2];
        QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) == 0);
        const int peer = ends[1];
        const int small = 4096; // so that the kernel's buffer fills before the link's
        QVERIFY(::setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small) == 0);
        SocketLink link(ends[0]);
        QByteArray received;
        int closes = 0;
        int spaces = 0;
        connect(&link, &AccessoryLink::bytesReceived, this, [&](const QByteArray& b) { received += b; });
        connect(&link, &SocketLink::closed, this, [&] { ++closes; });
        connect(&link, &AccessoryLink::spaceAvailable, this, [&] { ++spaces; });

        QByteArray sent;
        for (int i = 0; sent.size() < 4 * SocketLink::kHighWater; ++i)
            sent.append(char(i * 7));
        qint64 offered = 0;
        while (offered < sent.size()) {
            const qint64 n = link.send(sent.constData() + offered, sent.size() - offered);
            QVERIFY(n >= 0);
            if (n == 0)
                break;
            offered += n;
        }
        QVERIFY2(offered < sent.size(), "the peer reads nothing, so the link fills up");
        QVERIFY(!link.hasSpace());
        QByteArray atPeer;
        auto drain = [&] {
            char buffer[8192];
            for (ssize_t n; (n = ::read(peer, buffer, sizeof buffer)) > 0;)
                atPeer.append(buffer, qsizetype(n));
        };
        QVERIFY(waitUntil([&] {
            drain();
            return spaces > 0;
        }));
        QVERIFY(link.hasSpace());
        // The rest, as room comes.
        QVERIFY(waitUntil([&] {
            drain();
            const qint64 n = offered < sent.size() ? link.send(sent.constData() + offered, sent.size() - offered) : 0;
            offered += std::max<qint64>(n, 0);
            return atPeer.size() >= sent.size();
        }));
        QVERIFY(atPeer == sent);

        QCOMPARE(::write(peer, "\x01\x07", 2), ssize_t(2));
        QVERIFY(waitUntil([&] { return received == QByteArray("\x01\x07", 2); }));
        ::close(peer);
        QVERIFY(waitUntil([&] { return closes == 1; }));
        QVERIFY(link.errorString().isEmpty()); // closed, not failed
        QCOMPARE(link.send("x", 1), qint64(-1));
    }

    // Writing to a connection the peer has gone from fails at once and is
    // reported from the event loop, with the system's reason.
    void aSocketLinkReportsAFailedWriteLater()
    {
        int ends[2];
        QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) == 0);
        SocketLink link(ends[0]);
        int closes = 0;
        connect(&link, &SocketLink::closed, this, [&] { ++closes; });
        ::close(ends[1]);
        QCOMPARE(link.send("abc", 3), qint64(-1));
        QCOMPARE(closes, 0); // not from inside the write
        QVERIFY(waitUntil([&] { return closes == 1; }));
        QVERIFY2(!link.errorString().isEmpty(), "a broken connection says why");
        QVERIFY(!link.hasSpace());
    }

    void aSerialDeviceAttachesAndItsLossIsADisconnect()
    {
        const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
        if (socat.isEmpty())
            QSKIP("socat is not installed (scripts/setup installs it)");
        QTemporaryDir dir;
        const QString hostEnd = dir.filePath(QStringLiteral("host"));
        const QString deviceEnd = dir.filePath(QStringLiteral("device"));
        QProcess pair;
        pair.start(socat,
            { QStringLiteral("pty,raw,echo=0,link=") + hostEnd, QStringLiteral("pty,raw,echo=0,link=") + deviceEnd });
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(hostEnd) && QFileInfo::exists(deviceEnd), kPatienceMs);

        auto transport = std::make_unique<SerialAccessoryTransport>(
            EAAccessoryManager::sharedAccessoryManager(), hostEnd, QStringList { kProtocol });
        transport->start();
        const EAAccessoryPtr accessory = waitForAttachment();
        QVERIFY(accessory);

        QSerialPort device(deviceEnd);
        QVERIFY(device.open(QIODevice::ReadWrite));
        SessionProbe probe(accessory);
        QTRY_VERIFY(probe.events.contains(int(StreamEvent::HasSpaceAvailable)));
        QCOMPARE(probe.send("ping"), 4);
        QByteArray heard;
        QTRY_COMPARE_WITH_TIMEOUT(heard += device.readAll(), QByteArray("ping"), kPatienceMs);
        device.write("pong");
        device.flush();
        QTRY_COMPARE_WITH_TIMEOUT(probe.received, QByteArray("pong"), kPatienceMs);

        device.close();
        pair.terminate();
        pair.waitForFinished();
        QVERIFY(waitForNoAttachment());
    }

    void aMissingSerialDeviceIsReportedNotAttached()
    {
        SerialAccessoryTransport transport(
            EAAccessoryManager::sharedAccessoryManager(), QStringLiteral("/dev/q3dart-no-such-device"), { kProtocol });
        transport.start();
        QVERIFY(transport.lastError().contains(QLatin1String("no such device")));
        // Until the transport has looked again, twice its polling interval.
        QTimer polled;
        polled.setSingleShot(true);
        polled.setTimerType(Qt::PreciseTimer);
        polled.start(2 * SerialAccessoryTransport::kPollIntervalMs);
        QVERIFY(waitUntil([&] { return !polled.isActive(); }));
        QVERIFY(EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty());
        QVERIFY(transport.lastError().contains(QLatin1String("no such device")));
    }

    // Where it can hear the kernel's device events the scan for USB serial
    // devices waits for them; where it cannot, or once the watched folder and
    // its parent are gone, it looks on a timer.
    void theSerialScanPollsOnlyWithoutDeviceEvents()
    {
        QTemporaryDir root;
        const QString noUdev = root.filePath(QStringLiteral("no-udev-control"));
        const QString parent = root.filePath(QStringLiteral("a"));
        QVERIFY(QDir().mkpath(parent + QStringLiteral("/dev")));
        SerialPortScanner watched(EAAccessoryManager::sharedAccessoryManager(), { kProtocol });
        watched.setDeviceFolders(parent + QStringLiteral("/dev"), noUdev);
        watched.start();
        QVERIFY(!watched.isPolling());
        QVERIFY(QDir(parent).removeRecursively());
        QVERIFY(waitUntil([&] { return watched.isPolling(); }));

        SerialPortScanner unwatched(EAAccessoryManager::sharedAccessoryManager(), { kProtocol });
        unwatched.setDeviceFolders(root.filePath(QStringLiteral("none/dev")), noUdev);
        unwatched.start();
        QVERIFY(unwatched.isPolling());
    }

    // The scan reads the kernel's listing of terminals and opens only the
    // controller's own USB device: of three USB serial devices (the
    // controller, a board of another maker, a modem) only the controller's
    // port is opened; the others are never opened, receive nothing and are
    // named as skipped, and so are a built-in port, a virtual terminal and a
    // dangling link left alone. An identity the user adds is opened too.
    void theSerialScanOpensOnlyTheControllersOwnDevice()
    {
        const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
        if (socat.isEmpty())
            QSKIP("socat is not installed (scripts/setup installs it)");
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        const QString dev = root.filePath(QStringLiteral("dev"));
        QVERIFY(QDir().mkpath(dev));
        const QString terminals = sys + QStringLiteral("/class/tty");
        // Each terminal is a folder with a link to its device, as the kernel
        // lists them; a USB one lies below a folder with the device's ids.
        auto addTerminal = [&](const QString& name, const QString& device) {
            const QString folder = terminals + QLatin1Char('/') + name;
            return QDir().mkpath(folder)
                && (device.isEmpty() || QFile::link(device, folder + QStringLiteral("/device")));
        };
        QVERIFY(
            addUsbTerminal(sys, QStringLiteral("ttyACM0"), QStringLiteral("1-1"), "fff0", "3d01")); // the controller
        QVERIFY(addUsbTerminal(sys, QStringLiteral("ttyACM1"), QStringLiteral("1-2"), "2341", "0043")); // a board
        QVERIFY(addUsbTerminal(sys, QStringLiteral("ttyUSB0"), QStringLiteral("1-3"), "1199", "9071")); // a modem
        const QString builtIn = sys + QStringLiteral("/devices/platform/serial8250");
        QVERIFY(QDir().mkpath(builtIn));
        QVERIFY(addTerminal(QStringLiteral("ttyS0"), builtIn));
        QVERIFY(addTerminal(QStringLiteral("tty0"), QString()));
        QVERIFY(addTerminal(QStringLiteral("ttyGone"), sys + QStringLiteral("/devices/none")));

        // Each USB device's port is a pseudo-terminal whose far end the test holds.
        std::vector<std::unique_ptr<QProcess>> pairs;
        std::map<QString, std::unique_ptr<QSerialPort>> farEnds;
        for (const QString& name :
            { QStringLiteral("ttyACM0"), QStringLiteral("ttyACM1"), QStringLiteral("ttyUSB0") }) {
            const QString far = root.filePath(name + QStringLiteral(".far"));
            auto& pair = pairs.emplace_back(std::make_unique<QProcess>());
            pair->start(socat,
                { QStringLiteral("pty,raw,echo=0,link=") + dev + QLatin1Char('/') + name,
                    QStringLiteral("pty,raw,echo=0,link=") + far });
            QTRY_VERIFY_WITH_TIMEOUT(
                QFileInfo::exists(dev + QLatin1Char('/') + name) && QFileInfo::exists(far), kPatienceMs);
            farEnds[name] = std::make_unique<QSerialPort>(far);
            QVERIFY(farEnds[name]->open(QIODevice::ReadWrite));
        }
        // Whoever opens the board's or the modem's port is seen by the kernel's file events.
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        for (const QString& name : { QStringLiteral("ttyACM1"), QStringLiteral("ttyUSB0") })
            QVERIFY(
                ::inotify_add_watch(watch, QFile::encodeName(dev + QLatin1Char('/') + name).constData(), IN_OPEN) >= 0);

        auto scanner = std::make_unique<SerialPortScanner>(
            EAAccessoryManager::sharedAccessoryManager(), QStringList { kProtocol });
        scanner->setTerminalClassFolder(terminals);
        scanner->setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        QCOMPARE(scanner->usbIdentities(), UsbIdentity::declared());
        QCOMPARE(scanner->usbSerialDevices(),
            QStringList({ dev + QStringLiteral("/ttyACM0"), dev + QStringLiteral("/ttyACM1"),
                dev + QStringLiteral("/ttyUSB0") }));
        scanner->start();
        const EAAccessoryPtr controller = waitForAttachment();
        QVERIFY(controller);
        QCOMPARE(controller->location(), QStringLiteral("serial:") + dev + QStringLiteral("/ttyACM0"));
        QStringList followed;
        for (const SerialAccessoryTransport* t : scanner->findChildren<SerialAccessoryTransport*>())
            followed << t->description();
        QCOMPARE(followed, QStringList { QStringLiteral("serial:") + dev + QStringLiteral("/ttyACM0") });
        QCOMPARE(scanner->skippedText(),
            dev + QStringLiteral("/ttyACM1 (2341:0043: not a declared controller), ") + dev
                + QStringLiteral("/ttyUSB0 (1199:9071: not a declared controller)"));
        QVERIFY(scanner->lastError().isEmpty());

        // What the controller's port is sent reaches its far end; the others hear nothing, ever.
        SessionProbe probe(controller);
        QTRY_VERIFY(probe.events.contains(int(StreamEvent::HasSpaceAvailable)));
        QCOMPARE(probe.send("\x20\x9f"), 2);
        QByteArray heard;
        QTRY_COMPARE_WITH_TIMEOUT(
            heard += farEnds[QStringLiteral("ttyACM0")]->readAll(), QByteArray("\x20\x9f"), kPatienceMs);
        QTimer rescans; // the scan's own timer has looked again several times by then
        rescans.setSingleShot(true);
        rescans.start(3 * SerialPortScanner::kScanIntervalMs);
        QVERIFY(waitUntil([&] { return !rescans.isActive(); }));
        char events[256];
        QCOMPARE(::read(watch, events, sizeof events), ssize_t(-1)); // no open of either
        QCOMPARE(errno, EAGAIN);
        ::close(watch);
        for (const QString& name : { QStringLiteral("ttyACM1"), QStringLiteral("ttyUSB0") }) {
            farEnds[name]->waitForReadyRead(10);
            QCOMPARE(farEnds[name]->bytesAvailable(), qint64(0));
        }
        scanner.reset();
        QVERIFY(waitForNoAttachment());

        // The board added by the user (--usb-id 2341:43) is opened too; the modem still is not.
        SerialPortScanner added(EAAccessoryManager::sharedAccessoryManager(), { kProtocol });
        added.setTerminalClassFolder(terminals);
        added.setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        added.setUsbIdentities(UsbIdentity::declared() + QList { *UsbIdentity::parse(QStringLiteral("2341:43")) });
        added.start();
        QCOMPARE(added.findChildren<SerialAccessoryTransport*>().size(), 2);
        QCOMPARE(added.skippedDevices().size(), 1);
        QVERIFY(
            waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().size() == 2; }));
        farEnds.clear();
        for (const auto& pair : pairs) {
            pair->terminate();
            pair->waitForFinished();
        }
    }

    // Without the controller's identity among them, the scan opens nothing
    // and says which devices it skipped and how to add one.
    void aScanWithoutTheControllerNamesWhatItSkipped()
    {
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        const QString usb = sys + QStringLiteral("/devices/pci0000:00/usb1/1-1");
        QVERIFY(QDir().mkpath(usb + QStringLiteral("/1-1:1.0/ttyUSB0")));
        QFile vendor(usb + QStringLiteral("/idVendor"));
        QVERIFY(vendor.open(QIODevice::WriteOnly) && vendor.write("1a86\n") == 5);
        vendor.close(); // no product id: an identity the kernel does not give
        const QString folder = sys + QStringLiteral("/class/tty/ttyUSB0");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(usb + QStringLiteral("/1-1:1.0/ttyUSB0"), folder + QStringLiteral("/device")));
        const QString dev = root.filePath(QStringLiteral("dev"));
        SerialPortScanner scanner(EAAccessoryManager::sharedAccessoryManager(), { kProtocol });
        scanner.setTerminalClassFolder(sys + QStringLiteral("/class/tty"));
        scanner.setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        scanner.start();
        QVERIFY(scanner.findChildren<SerialAccessoryTransport*>().isEmpty());
        QCOMPARE(scanner.skippedText(), dev + QStringLiteral("/ttyUSB0 (????:????: not a declared controller)"));
        QVERIFY2(
            scanner.lastError().startsWith(QStringLiteral("no USB serial device is a declared controller (skipped: ")
                + dev + QStringLiteral("/ttyUSB0")),
            qPrintable(scanner.lastError()));
        QVERIFY(scanner.lastError().contains(QLatin1String("--usb-id VID:PID")));

        SerialPortScanner none(EAAccessoryManager::sharedAccessoryManager(), { kProtocol });
        none.setTerminalClassFolder(root.filePath(QStringLiteral("no-sys")));
        none.setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        none.start();
        QCOMPARE(none.lastError(), QStringLiteral("no USB serial device found"));
    }

    // USB identities as the user writes them: on the command line, in the
    // configuration file, and as the information dictionary declares them.
    void usbIdentitiesAreReadStrictly()
    {
        QCOMPARE(UsbIdentity::parse(QStringLiteral("2341:0043"))->text(), QStringLiteral("2341:0043"));
        QCOMPARE(UsbIdentity::parse(QStringLiteral(" FFF0:3d1 "))->text(), QStringLiteral("fff0:03d1"));
        for (const char* bad : { "", "2341", "2341:", ":0043", "12345:1", "2341:0043:1", "g341:0043", "-1:2" })
            QVERIFY2(!UsbIdentity::parse(QString::fromLatin1(bad)), bad);
        QVERIFY(!UsbIdentity::declared().isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q3dart.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[usb]\nids=2341:0043, 1a86:7523 nonsense\n");
        file.close();
        QStringList invalid;
        const QList<UsbIdentity> read = UsbIdentity::fromConfiguration(path, &invalid);
        QCOMPARE(read.size(), 2);
        QCOMPARE(read.at(1).text(), QStringLiteral("1a86:7523"));
        QCOMPARE(invalid, QStringList { QStringLiteral("nonsense") });
        QVERIFY(UsbIdentity::fromConfiguration(dir.filePath(QStringLiteral("absent.conf"))).isEmpty());
    }

    // A file that is no terminal is refused with the system's reason, not attached.
    void aSerialPathThatIsNoTerminalIsReported()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("not-a-tty"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SerialAccessoryTransport transport(EAAccessoryManager::sharedAccessoryManager(), plain, { kProtocol });
        transport.start();
        QVERIFY2(transport.lastError().startsWith(plain + QStringLiteral(": ")), qPrintable(transport.lastError()));
        QVERIFY(!transport.lastError().contains(QLatin1String("no such device")));
        QVERIFY(EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty());
    }

    void deviceAddressesAreParsedStrictly()
    {
        DeviceAddress a;
        // "sim" is an address only where the simulator library has added it.
        QString unknown;
        QVERIFY(!TransportRegistry::contains(QStringLiteral("sim")));
        QVERIFY(!DeviceAddress::parse(QStringLiteral("sim"), &a, &unknown));
        QCOMPARE(unknown, QStringLiteral("sim"));
        SimAccessoryTransport::registerAddressScheme();
        QVERIFY(DeviceAddress::parse(QStringLiteral("sim"), &a) && a.kind == DeviceAddress::Kind::Sim);
        std::unique_ptr<AccessoryTransport> sim(
            a.createTransport(EAAccessoryManager::sharedAccessoryManager(), { kProtocol }));
        QVERIFY(qobject_cast<SimAccessoryTransport*>(sim.get()));
        QVERIFY(DeviceAddress::parse(QString(), &a) && a.kind == DeviceAddress::Kind::Auto);
        QVERIFY(DeviceAddress::parse(QStringLiteral("tcp:127.0.0.1:5000"), &a));
        QCOMPARE(a.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(a.port, quint16(5000));
        QVERIFY(DeviceAddress::parse(QStringLiteral("tcp:[::1]:7"), &a));
        QCOMPARE(a.host, QStringLiteral("::1"));
        QVERIFY(DeviceAddress::parse(QStringLiteral("serial:/dev/ttyUSB0"), &a));
        QCOMPARE(a.path, QStringLiteral("/dev/ttyUSB0"));
        QString bad;
        for (const char* text : { "tcp:host", "tcp:host:0", "tcp:host:70000", "tcp::5", "serial:", "usb", "tcp:h:x" })
            QVERIFY2(!DeviceAddress::parse(QString::fromLatin1(text), &a, &bad), text);
        QCOMPARE(bad, QStringLiteral("tcp:h:x"));
    }
};

QTEST_GUILESS_MAIN(TestAccessoryService)
#include "tst_accessoryservice.moc"
