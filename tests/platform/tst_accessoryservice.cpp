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
#include <memory>
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
        auto* transport = new SimAccessoryTransport(new SimulatedController, { kProtocol });
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
        auto* transport = new TcpAccessoryTransport(QStringLiteral("127.0.0.1"), server->serverPort(), { kProtocol });
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
        auto* transport = new TcpAccessoryTransport(QStringLiteral("127.0.0.1"), port, { kProtocol });
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
        auto* named = new TcpAccessoryTransport(QStringLiteral("localhost"), server->serverPort(), { kProtocol });
        named->start();
        QVERIFY(waitForAttachment());
        QVERIFY(named->lastError().isEmpty());
        delete named;
        QVERIFY(waitForNoAttachment());
        delete server;

        auto* unknown = new TcpAccessoryTransport(QStringLiteral("no-such-host.invalid"), 5000, { kProtocol });
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

        auto transport = std::make_unique<SerialAccessoryTransport>(hostEnd, QStringList { kProtocol });
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
        SerialAccessoryTransport transport(QStringLiteral("/dev/q3dart-no-such-device"), { kProtocol });
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
        SerialPortScanner watched({ kProtocol });
        watched.setDeviceFolders(parent + QStringLiteral("/dev"), noUdev);
        watched.start();
        QVERIFY(!watched.isPolling());
        QVERIFY(QDir(parent).removeRecursively());
        QVERIFY(waitUntil([&] { return watched.isPolling(); }));

        SerialPortScanner unwatched({ kProtocol });
        unwatched.setDeviceFolders(root.filePath(QStringLiteral("none/dev")), noUdev);
        unwatched.start();
        QVERIFY(unwatched.isPolling());
    }

    // The scan reads the kernel's listing of terminals: a terminal whose
    // device lies below a USB device is followed (once) by a transport of its
    // own; a built-in port, a virtual terminal and a dangling link are not.
    void theSerialScanFollowsOnlyTerminalsOnUsbDevices()
    {
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        const QString usb = sys + QStringLiteral("/devices/pci0000:00/usb1/1-1");
        const QString builtIn = sys + QStringLiteral("/devices/platform/serial8250");
        QVERIFY(QDir().mkpath(usb + QStringLiteral("/1-1:1.0/ttyUSB0")));
        QVERIFY(QDir().mkpath(usb + QStringLiteral("/1-1:1.1")));
        QVERIFY(QDir().mkpath(builtIn));
        auto writeFile = [](const QString& path, const QByteArray& text) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        QVERIFY(writeFile(usb + QStringLiteral("/idVendor"), "1a86\n"));
        const QString terminals = sys + QStringLiteral("/class/tty");
        // Each terminal is a folder with a link to its device, as the kernel lists them.
        auto addTerminal = [&](const QString& name, const QString& device) {
            const QString folder = terminals + QLatin1Char('/') + name;
            return QDir().mkpath(folder)
                && (device.isEmpty() || QFile::link(device, folder + QStringLiteral("/device")));
        };
        QVERIFY(addTerminal(QStringLiteral("ttyUSB0"), usb + QStringLiteral("/1-1:1.0/ttyUSB0")));
        QVERIFY(addTerminal(QStringLiteral("ttyACM0"), usb + QStringLiteral("/1-1:1.1")));
        QVERIFY(addTerminal(QStringLiteral("ttyS0"), builtIn));
        QVERIFY(addTerminal(QStringLiteral("tty0"), QString()));
        QVERIFY(addTerminal(QStringLiteral("ttyGone"), sys + QStringLiteral("/devices/none")));

        const QString dev = root.filePath(QStringLiteral("dev"));
        QVERIFY(QDir().mkpath(dev));
        SerialPortScanner scanner({ kProtocol });
        scanner.setTerminalClassFolder(terminals);
        scanner.setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        QCOMPARE(scanner.usbSerialDevices(),
            QStringList({ dev + QStringLiteral("/ttyACM0"), dev + QStringLiteral("/ttyUSB0") }));
        scanner.start();
        QVERIFY(scanner.lastError().isEmpty());
        QStringList followed;
        for (const SerialAccessoryTransport* t : scanner.findChildren<SerialAccessoryTransport*>())
            followed << t->description();
        followed.sort();
        QCOMPARE(followed,
            QStringList({ QStringLiteral("serial:") + dev + QStringLiteral("/ttyACM0"),
                QStringLiteral("serial:") + dev + QStringLiteral("/ttyUSB0") }));
        // Its device files are not there: each transport says so, and waits.
        for (const SerialAccessoryTransport* t : scanner.findChildren<SerialAccessoryTransport*>())
            QVERIFY(t->lastError().contains(QLatin1String("no such device")));

        SerialPortScanner none({ kProtocol });
        none.setTerminalClassFolder(root.filePath(QStringLiteral("no-sys")));
        none.setDeviceFolders(dev, root.filePath(QStringLiteral("no-udev-control")));
        none.start();
        QCOMPARE(none.lastError(), QStringLiteral("no USB serial device found"));
    }

    // A file that is no terminal is refused with the system's reason, not attached.
    void aSerialPathThatIsNoTerminalIsReported()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("not-a-tty"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SerialAccessoryTransport transport(plain, { kProtocol });
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
        std::unique_ptr<AccessoryTransport> sim(a.createTransport({ kProtocol }));
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
