// The command-line tools as scripts use them: real processes, real sockets.
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "sim/DemoReleases.h"
#include "sim/RecordedController.h"
#include "sim/SimulatedController.h"
#include "sim/ZipWriter.h"
#include "support/TestCertificates.h"
#include "support/TestHttpServer.h"
#include "support/StickShapes.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <random>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// A run's exit status compared, with what it printed to its error stream when
// it is not the one expected: a sanitizer's report or the program's own message.
#define QCOMPARE_EXIT(run, expected)                                                                                   \
    QVERIFY2((run).exitCode == (expected),                                                                             \
        qPrintable(QStringLiteral("exit status %1, expected %2; standard error:\n%3")                                  \
                       .arg((run).exitCode)                                                                            \
                       .arg(expected)                                                                                  \
                       .arg((run).err)))

// How long a program may take to start, answer or end on a loaded machine;
// costs nothing when it is quicker.
constexpr int kPatienceMs = 30000;
// A whole upgrade in real time, with its restarts, on a loaded machine.
constexpr int kRunMs = 180000;

// What a run printed and how it ended; one still running when its time was up
// is killed. Its exit status is then -1, and -2 for one that crashed.
Run endOf(QProcess& p, bool finished, int timeoutMs)
{
    if (!finished) {
        p.kill();
        p.waitForFinished();
    }
    Run run { finished ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
        QString::fromUtf8(p.readAllStandardError()) };
    if (!finished)
        run.err.prepend(QStringLiteral("(killed after %1 ms)\n").arg(timeoutMs));
    else if (p.exitStatus() == QProcess::CrashExit)
        run = { -2, run.out, QStringLiteral("(crashed)\n") + run.err };
    return run;
}

Run runCli(const QStringList& args, const QStringList& extraEnv = {}, int timeoutMs = 60000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
    for (const QString& kv : extraEnv)
        env.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q3DART_CLI), args);
    return endOf(p, p.waitForFinished(timeoutMs), timeoutMs);
}

// runCli while this process's event loop runs, for a server of the test's own.
Run runCliServing(const QStringList& args, int timeoutMs = kRunMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q3DART_CLI), args);
    return endOf(p, testsupport::waitUntil([&] { return p.state() == QProcess::NotRunning; }, timeoutMs), timeoutMs);
}

// runCli with a script on its standard input, closed after it.
Run runCliWithInput(const QStringList& args, const QByteArray& input, int timeoutMs = kRunMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q3DART_CLI), args);
    if (!p.waitForStarted(kPatienceMs))
        return {};
    p.write(input);
    p.closeWriteChannel();
    return endOf(p, p.waitForFinished(timeoutMs), timeoutMs);
}

// A stick traced point by point, each held for msEach of the script's clock.
QByteArray stickScript(const char* stick, const std::vector<QPointF>& points, int msEach)
{
    QByteArray script;
    for (const QPointF& p : points)
        script += QStringLiteral("stick %1 %2 %3\nwait %4\n")
                      .arg(QLatin1String(stick))
                      .arg(p.x(), 0, 'f', 6)
                      .arg(p.y(), 0, 'f', 6)
                      .arg(msEach)
                      .toLatin1();
    return script;
}

QJsonObject onlyJsonObject(const QString& out)
{
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() == 1 ? QJsonDocument::fromJson(lines.first().toUtf8()).object() : QJsonObject();
}

// Starts q3dart-sim on a free port and returns the port it listens on.
quint16 startSim(QProcess& sim, const QStringList& extra = {})
{
    sim.start(
        QStringLiteral(Q3DART_SIM), QStringList { QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0") } + extra);
    if (!sim.waitForReadyRead(kPatienceMs))
        return 0;
    const QRegularExpression re(QStringLiteral("listening on [^:]+:(\\d+)"));
    const auto m = re.match(QString::fromUtf8(sim.readLine()));
    return m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
}

// Starts q3dart-sim with `count` controllers, each on a free port of its own; their ports.
QList<quint16> startSims(QProcess& sim, int count, const QStringList& extra = {})
{
    sim.start(QStringLiteral(Q3DART_SIM),
        QStringList { QStringLiteral("--count"), QString::number(count), QStringLiteral("--listen"),
            QStringLiteral("127.0.0.1:0") }
            + extra);
    QList<quint16> ports;
    const QRegularExpression re(QStringLiteral("listening on [^:]+:(\\d+)"));
    while (ports.size() < count) {
        if (!sim.canReadLine() && !sim.waitForReadyRead(kPatienceMs))
            return {};
        const auto m = re.match(QString::fromUtf8(sim.readLine()));
        if (!m.hasMatch())
            return {};
        ports.append(quint16(m.captured(1).toUInt()));
    }
    return ports;
}

QStringList stationDevices(const QList<quint16>& ports)
{
    QStringList words;
    for (const quint16 port : ports)
        words << QStringLiteral("--device") << QStringLiteral("tcp:127.0.0.1:%1").arg(port);
    return words;
}

// Starts `q3dart-cli serve` on a free port for a folder of release archives; its address, empty on failure.
QString startReleaseServer(QProcess& server, const QString& releases, const QStringList& extra = {})
{
    server.start(QStringLiteral(Q3DART_CLI),
        QStringList { QStringLiteral("serve"), releases, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0") }
            + extra);
    if (!server.waitForReadyRead(kPatienceMs))
        return QString();
    return QString::fromUtf8(server.readLine()).trimmed().section(QStringLiteral(" at "), 1);
}

QByteArray image(int size, SimVersion version)
{
    return testsupport::firmwareImage(size, version, version.minor);
}

// The JSON event lines of a --json run; an empty list when a line is not an object.
QList<QJsonObject> events(const QString& out)
{
    QList<QJsonObject> list;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
        if (!doc.isObject())
            return {};
        list << doc.object();
    }
    return list;
}

// The progress figures among the events.
QList<double> progressOf(const QList<QJsonObject>& events)
{
    QList<double> out;
    for (const QJsonObject& e : events)
        if (e.value(QStringLiteral("event")).toString() == QLatin1String("progress"))
            out << e.value(QStringLiteral("percent")).toDouble();
    return out;
}

bool neverDecreases(const QList<double>& values)
{
    for (qsizetype i = 1; i < values.size(); ++i)
        if (values[i] < values[i - 1])
            return false;
    return true;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A small tmpfs of the test's own, where this process may mount one (as root
// in CI); isMounted() is false elsewhere.
class SmallDisk {
public:
    explicit SmallDisk(const QString& path)
        : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                        { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=512k"), QStringLiteral("tmpfs"), path })
            == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), { m_path });
    }
    bool isMounted() const { return m_mounted; }
    // Takes up every byte left.
    void fill() const
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) { }
        filler.write(QByteArray(1, 'f')); // the last partial block
    }
    bool remountReadOnly() const
    {
        return QProcess::execute(
                   QStringLiteral("mount"), { QStringLiteral("-o"), QStringLiteral("remount,ro"), m_path })
            == 0;
    }

private:
    QString m_path;
    bool m_mounted = false;
};
// The command a recorded session replays: a flash of the images its data
// packets carry (written into dir), or a version query when it sent none.
QStringList replayedCommand(const RecordedController& recorded, const QTemporaryDir& dir)
{
    const RecordedController::Images images = recorded.images();
    QStringList words { QStringLiteral("flash") };
    const std::pair<QString, QByteArray> sides[] = { { QStringLiteral("boot"), images.boot },
        { QStringLiteral("left"), images.left }, { QStringLiteral("right"), images.right } };
    for (const auto& [side, bytes] : sides)
        if (!bytes.isEmpty())
            words << QStringLiteral("--") + side << writeFile(dir, side + QStringLiteral(".bin"), bytes);
    return words.size() > 1 ? words : QStringList { QStringLiteral("versions") };
}

// Runs a command against q3dart-sim --replay FILE; what the replay printed goes to *log.
Run runReplayed(const QString& recording, const QStringList& words, QString* log)
{
    QProcess sim;
    const quint16 port = startSim(sim, { QStringLiteral("--replay"), recording });
    if (!port)
        return {};
    QTemporaryDir documents;
    // The host's own pauses shortened: the recorded controller keeps its recorded pace.
    const Run r = runCli(
        QStringList { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), documents.path(), QStringLiteral("--silence-limit"), QStringLiteral("3") }
            + words,
        { QStringLiteral("Q3DART_TIME_SCALE=0.25") }, kRunMs);
    sim.kill();
    sim.waitForFinished();
    *log = QString::fromUtf8(sim.readAllStandardOutput());
    return r;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void versionsOverTcpPrintsTheCombinedVersionFirst()
    {
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--versions"), QStringLiteral("1.0-2.3-1.5") });
        QVERIFY(port);
        const Run r = runCli(
            { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port), QStringLiteral("versions") });
        QCOMPARE_EXIT(r, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("1.0-2.3-1.5"));
        // The address and the date as the application shows them.
        QVERIFY(lines.contains(QStringLiteral("bluetooth_address: 12:34:56:78:9A:BC")));
        QVERIFY(lines.contains(QStringLiteral("production_date: 2021-03-09")));
        QVERIFY(lines.contains(QStringLiteral("software_version: 2.3")));
        QVERIFY(lines.contains(QStringLiteral("boot_loader_version: 1.0")));
        QCOMPARE(lines.size(), 8);
        sim.kill();
        sim.waitForFinished();
    }

    void versionsAsJsonHoldTheSameFields()
    {
        const Run r = runCli({ QStringLiteral("--simulate"), QStringLiteral("versions"), QStringLiteral("--json") });
        QCOMPARE_EXIT(r, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(o.value(QStringLiteral("versions")).toString(), QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(o.value(QStringLiteral("bluetooth_address")).toString(), QStringLiteral("123456789ABC"));
        QCOMPARE(o.value(QStringLiteral("production_date")).toString(), QStringLiteral("20210309"));
        // The forms the application shows, beside the compact ones scripts read.
        QCOMPARE(o.value(QStringLiteral("bluetooth_address_text")).toString(), QStringLiteral("12:34:56:78:9A:BC"));
        QCOMPARE(o.value(QStringLiteral("production_date_text")).toString(), QStringLiteral("2021-03-09"));
        QCOMPARE(o.value(QStringLiteral("boot_loader_version")).toString(), QStringLiteral("1.0"));
        QCOMPARE(o.size(), 10);
        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("versions"), QStringLiteral("--xml") }).exitCode, 2);
    }

    void aDifferentControllerBackFromTheRestartReceivesNothingButQueries()
    {
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--restart-delay"), QStringLiteral("100"), QStringLiteral("--impostor"),
                QStringLiteral("1.0-2.2-2.3") });
        QVERIFY(port);
        const Run r = runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.path(), QStringLiteral("flash"), QStringLiteral("--boot"),
            writeFile(dir, QStringLiteral("b.bin"), image(0xE800 + 300, { 1, 1 })), QStringLiteral("--left"),
            writeFile(dir, QStringLiteral("l.bin"), image(300, { 2, 5 })), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), image(300, { 1, 8 })) });
        QCOMPARE_EXIT(r, 1);
        QVERIFY2(r.err.contains(QLatin1String("A different controller came back")), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        sim.kill();
        sim.waitForFinished();
        QStringList received;
        for (const QString& line : QString::fromUtf8(sim.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("impostor received: ")))
                received << line.mid(19);
        QVERIFY(!received.isEmpty());
        for (const QString& message : received)
            QVERIFY2(message == QLatin1String("20 9f") || message == QLatin1String("01 01"), qPrintable(message));
        // The run is recorded with the controller it was started for.
        const Run h = runCli({ QStringLiteral("--documents"), dir.path(), QStringLiteral("history") });
        const QStringList fields = h.out.trimmed().split(QLatin1Char('\t'));
        QCOMPARE(fields.value(1), QStringLiteral("failed"));
        QCOMPARE(fields.value(6), QStringLiteral("12:34:56:78:9A:BC"));
    }

    void anOnlineUpgradeStopsAtADifferentControllerAndAtTheDownloadLimit()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        QProcess server;
        const QString url = startReleaseServer(server, releases);
        QVERIFY(!url.isEmpty());
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--restart-delay"), QStringLiteral("100"), QStringLiteral("--impostor"),
                QStringLiteral("1.0-2.2-2.3") });
        QVERIFY(port);
        const QStringList common { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")), QStringLiteral("--server"), url };
        // The newest release changes the boot loader first: the controller restarts after it.
        const Run r
            = runCli(common + QStringList { QStringLiteral("upgrade"), QStringLiteral("--latest") }, {}, kRunMs);
        QCOMPARE_EXIT(r, 1);
        QVERIFY2(r.err.contains(QLatin1String("A different controller came back")), qPrintable(r.err));
        sim.kill();
        sim.waitForFinished();
        for (const QString& line : QString::fromUtf8(sim.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("impostor received: ")))
                QVERIFY2(
                    line.endsWith(QLatin1String("20 9f")) || line.endsWith(QLatin1String("01 01")), qPrintable(line));

        // An archive above the download limit is stopped, and nothing of it stays.
        const Run limited
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("--documents"), dir.filePath(QStringLiteral("d2")),
                         QStringLiteral("--server"), url, QStringLiteral("--max-download-mib"), QStringLiteral("0.01"),
                         QStringLiteral("upgrade"), QStringLiteral("--latest") },
                {}, kRunMs);
        QCOMPARE_EXIT(limited, 1);
        QVERIFY2(limited.err.contains(QLatin1String("larger than 0.01 MiB")), qPrintable(limited.err));
        QVERIFY(QDir(dir.filePath(QStringLiteral("d2"))).entryList({ QStringLiteral("*.zip") }).isEmpty());
        QCOMPARE(runCli({ QStringLiteral("--simulate"), QStringLiteral("--max-download-mib"), QStringLiteral("0"),
                            QStringLiteral("releases") })
                     .exitCode,
            2);
        server.kill();
        server.waitForFinished();
    }

    void versionsWithTheSimulatedControllerInProcess()
    {
        const Run r = runCli({ QStringLiteral("--simulate"), QStringLiteral("versions") });
        QCOMPARE_EXIT(r, 0);
        QCOMPARE(r.out.section(QLatin1Char('\n'), 0, 0), QStringLiteral("1.0-2.3-1.5"));
        // Said once: the simulated controller and its records end with the command.
        QCOMPARE(r.err.count(QLatin1String("Simulated controller:")), 1);
        QVERIFY2(r.err.contains(QLatin1String("--documents DIR")), qPrintable(r.err));
        QTemporaryDir documents;
        const Run kept = runCli({ QStringLiteral("--simulate"), QStringLiteral("--documents"), documents.path(),
            QStringLiteral("versions") });
        QCOMPARE_EXIT(kept, 0);
        QVERIFY(kept.err.contains(QLatin1String("Simulated controller:")));
        QVERIFY2(!kept.err.contains(QLatin1String("--documents DIR")), qPrintable(kept.err));
    }

    // releases: the groups headed when listed together, an empty list said
    // (on standard error when a script reads the lines), and one JSON array
    // with the source, the date as given and as a date.
    void releasesAreLabelledSayWhenNoneAndComeAsJson()
    {
        QTemporaryDir documents;
        const QString docs = documents.path();
        const Run none
            = runCli({ QStringLiteral("--documents"), docs, QStringLiteral("releases"), QStringLiteral("--local") });
        QCOMPARE_EXIT(none, 0);
        QVERIFY(none.out.isEmpty());
        QVERIFY2(none.err.contains(QLatin1String("No local releases. Import one with:")), qPrintable(none.err));

        const Run both = runCli({ QStringLiteral("--simulate"), QStringLiteral("releases") });
        QCOMPARE_EXIT(both, 0);
        const QStringList lines = both.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("Local releases:"));
        QVERIFY(lines.value(1).startsWith(QLatin1String("No local releases.")));
        QCOMPARE(lines.value(2), QStringLiteral("Online releases:"));
        QVERIFY2(lines.value(3).startsWith(QLatin1String("1.1-2.5-1.8\t")), qPrintable(both.out));
        QVERIFY(lines.value(3).endsWith(QLatin1String("\tsigned")));

        const Run json = runCli({ QStringLiteral("--simulate"), QStringLiteral("releases"), QStringLiteral("--json") });
        QCOMPARE_EXIT(json, 0);
        const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(array.size(), 3);
        const QJsonObject newest = array.first().toObject();
        QCOMPARE(newest.value(QStringLiteral("source")).toString(), QStringLiteral("online"));
        QCOMPARE(newest.value(QStringLiteral("version")).toString(), QStringLiteral("1.1-2.5-1.8"));
        QCOMPARE(newest.value(QStringLiteral("signature")).toString(), QStringLiteral("signed"));
        QVERIFY(QDate::fromString(newest.value(QStringLiteral("release_date")).toString(), Qt::ISODate).isValid());
        QVERIFY(newest.value(QStringLiteral("path")).toString().startsWith(QLatin1String("http://127.0.0.1:")));
    }

    // -v as --version; the wait for a controller named in seconds.
    void theShortVersionOptionAndTheWaitInSeconds()
    {
        const Run v = runCli({ QStringLiteral("-v") });
        QCOMPARE_EXIT(v, 0);
        QCOMPARE(v.out, runCli({ QStringLiteral("--version") }).out);
        QVERIFY(v.out.startsWith(QLatin1String("q3dart-cli ")));
        // A port nothing listens on.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        const Run r = runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--wait"), QStringLiteral("1.5"), QStringLiteral("versions") });
        QCOMPARE_EXIT(r, 3);
        QVERIFY2(r.err.contains(QLatin1String("within 1.5 s.")), qPrintable(r.err));
    }

    // On a terminal the bar names what is under way and counts the restart
    // down; a pipe keeps its plain lines.
    void onATerminalTheBarNamesThePhaseAndCountsTheRestartDown()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
        p.setProcessEnvironment(env);
        p.setStandardErrorFile(slave);
        p.start(QStringLiteral(Q3DART_CLI),
            { QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--latest") });
        QByteArray screen;
        const bool finished = testsupport::waitUntil(
            [&] {
                char buffer[4096];
                for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
                    screen.append(buffer, n);
                return p.state() == QProcess::NotRunning;
            },
            kRunMs);
        const Run run = endOf(p, finished, kRunMs);
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            screen.append(buffer, n);
        ::close(master);
        QCOMPARE_EXIT(run, 0);
        const QString text = QString::fromUtf8(screen);
        for (const char* phase : { "Downloading the firmware", "Sending the boot loader", "Sending the left side",
                 "Sending the right side", "Reading the controller's versions" })
            QVERIFY2(text.contains(QLatin1String(phase)), phase);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("restart\u2026 \\(gives up in \\d+ s\\)"))),
            qPrintable(text.right(2000)));
        // Redrawn in place: no plain percentage lines.
        QVERIFY(!text.contains(QLatin1String("progress: ")));
    }

    void aSilentControllerEndsWithTheUnplugPrompt()
    {
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--reply-delay"), QStringLiteral("600000") });
        QVERIFY(port);
        // The scale shortens the query's 8-s timer, the one examined; the wait
        // for the controller to attach is given in real seconds.
        const Run r = runCli(
            { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port), QStringLiteral("versions") },
            { QStringLiteral("Q3DART_TIME_SCALE=0.05") });
        QCOMPARE_EXIT(r, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QLatin1String("not responding")), qPrintable(r.err));
        sim.kill();
        sim.waitForFinished();
    }

    void anUnreachableControllerIsAClearMessageNotAHang()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        QElapsedTimer clock;
        clock.start();
        const Run r = runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--wait"), QStringLiteral("1"), QStringLiteral("versions") });
        QCOMPARE_EXIT(r, 3);
        QVERIFY2(r.err.contains(QStringLiteral("tcp:127.0.0.1:%1").arg(port)), qPrintable(r.err));
        QVERIFY2(r.err.contains(QLatin1String("refused"), Qt::CaseInsensitive), qPrintable(r.err));
        QVERIFY(clock.elapsed() < 10000);

        const Run serial = runCli({ QStringLiteral("--device"), QStringLiteral("serial:/dev/q3dart-missing"),
            QStringLiteral("--wait"), QStringLiteral("0.5"), QStringLiteral("versions") });
        QCOMPARE_EXIT(serial, 3);
        QVERIFY2(serial.err.contains(QLatin1String("no such device")), qPrintable(serial.err));
    }

    void flashSendsRealSizeImagesAcrossRestarts()
    {
        QTemporaryDir dir;
        const QByteArray boot = image(0xE800 + 8 * 1024, { 4, 1 });
        const QByteArray left = image(48 * 1024, { 4, 2 });
        const QByteArray right = image(40 * 1024, { 4, 3 });
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--restart-delay"), QStringLiteral("200"), QStringLiteral("--flash-dir"),
                dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        const Run r = runCli(
            { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port), QStringLiteral("flash"),
                QStringLiteral("--boot"), writeFile(dir, QStringLiteral("b.bin"), boot), QStringLiteral("--left"),
                writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
                writeFile(dir, QStringLiteral("r.bin"), right) },
            {}, kRunMs); // in real time: no limit of the engine is shortened
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out.section(QLatin1Char('\n'), 0, 0), QStringLiteral("4.1-4.2-4.3"));
        QVERIFY(r.err.contains(QLatin1String("progress: 100%")));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/boot.bin"))), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/left.bin"))), left);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/right.bin"))), right);

        // Asked afterwards, the controller reports the new versions.
        const Run v = runCli(
            { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port), QStringLiteral("versions") });
        QCOMPARE(v.out.section(QLatin1Char('\n'), 0, 0), QStringLiteral("4.1-4.2-4.3"));
        sim.kill();
        sim.waitForFinished();
    }

    // Over a link that cuts the controller's replies into pieces, glues
    // them, repeats them or puts noise before them, every command that talks
    // to the controller completes, and every image lands byte for byte.
    void aLinkThatCutsGluesOrRepeatsRepliesStillCompletesEveryCommand_data()
    {
        QTest::addColumn<QStringList>("link");
        QTest::newRow("pieces of 1 byte") << QStringList { QStringLiteral("--split"), QStringLiteral("1") };
        QTest::newRow("pieces of 3 bytes") << QStringList { QStringLiteral("--split"), QStringLiteral("3") };
        QTest::newRow("glued to their copies")
            << QStringList { QStringLiteral("--glue"), QStringLiteral("--duplicate") };
        QTest::newRow("twice") << QStringList { QStringLiteral("--duplicate") };
        QTest::newRow("after a stray byte") << QStringList { QStringLiteral("--stray-byte") };
    }
    void aLinkThatCutsGluesOrRepeatsRepliesStillCompletesEveryCommand()
    {
        QFETCH(QStringList, link);
        QTemporaryDir dir;
        QProcess server;
        const QString url = startReleaseServer(server, DemoReleases::folder());
        QVERIFY(!url.isEmpty());
        QProcess sim;
        const quint16 port = startSim(sim,
            link
                + QStringList { QStringLiteral("--restart-delay"), QStringLiteral("100"), QStringLiteral("--flash-dir"),
                    dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        // The pauses of a run (the 2-s wait after each restart) shortened; the
        // silence and restart limits kept at their real length.
        const QStringList device { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")), QStringLiteral("--silence-limit"),
            QStringLiteral("10"), QStringLiteral("--restart-wait"), QStringLiteral("60") };
        const QStringList fast { QStringLiteral("Q3DART_TIME_SCALE=0.25") };
        const Run v = runCli(device + QStringList { QStringLiteral("versions") }, fast);
        QCOMPARE_EXIT(v, 0);
        QCOMPARE(v.out.section(QLatin1Char('\n'), 0, 1),
            QStringLiteral("1.0-2.3-1.5\nbluetooth_address: 12:34:56:78:9A:BC"));

        const QString newest = DemoReleases::versions().last();
        const Run u = runCli(device
                + QStringList { QStringLiteral("--server"), url, QStringLiteral("upgrade"),
                    QStringLiteral("--latest") },
            fast, kRunMs);
        QCOMPARE_EXIT(u, 0);
        QCOMPARE(u.out.trimmed(), newest);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/boot.bin"))),
            DemoReleases::bootImage(newest).left(4) + DemoReleases::bootImage(newest).mid(0xE804));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/left.bin"))), DemoReleases::leftImage(newest));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/right.bin"))), DemoReleases::rightImage(newest));

        const QByteArray boot = image(0xE800 + 700, { 4, 1 });
        const QByteArray left = image(900, { 4, 2 });
        const QByteArray right = image(800, { 4, 3 });
        const Run f = runCli(device
                + QStringList { QStringLiteral("flash"), QStringLiteral("--boot"),
                    writeFile(dir, QStringLiteral("b.bin"), boot), QStringLiteral("--left"),
                    writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
                    writeFile(dir, QStringLiteral("r.bin"), right) },
            fast, kRunMs);
        QCOMPARE_EXIT(f, 0);
        QCOMPARE(f.out.trimmed(), QStringLiteral("4.1-4.2-4.3"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/boot.bin"))), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/left.bin"))), left);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/right.bin"))), right);
        sim.kill();
        sim.waitForFinished();
        server.kill();
        server.waitForFinished();
    }

    // The serial transport end to end: a pseudo-terminal bridged to the
    // simulated controller, whose link hands the replies over in pieces of
    // 3 bytes; the bridge goes with each restart and comes back, as a USB
    // device does. A flash across both restarts completes.
    void aFlashOverAPseudoTerminalThatSplitsRepliesCompletes()
    {
        const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
        if (socat.isEmpty())
            QSKIP("socat is not installed (scripts/setup installs it)");
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--split"), QStringLiteral("3"), QStringLiteral("--restart-delay"), QStringLiteral("100"),
                QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        const QString pty = dir.filePath(QStringLiteral("ttyQ3"));
        // The terminal exists while the controller is connected: the bridge
        // waits for the controller, and ends when it restarts.
        QProcess bridge;
        const QStringList bridgeArguments { QStringLiteral("tcp:127.0.0.1:%1,retry=1000,interval=0.05").arg(port),
            QStringLiteral("pty,raw,echo=0,link=") + pty };
        bool bridging = true;
        QObject::connect(&bridge, &QProcess::finished, &bridge, [&] {
            if (bridging)
                bridge.start(socat, bridgeArguments);
        });
        bridge.start(socat, bridgeArguments);
        const QByteArray boot = image(0xE800 + 300, { 5, 1 });
        const QByteArray left = image(400, { 5, 2 });
        const QByteArray right = image(350, { 5, 3 });
        const Run r = runCliServing(
            { QStringLiteral("--device"), QStringLiteral("serial:") + pty, QStringLiteral("--documents"),
                dir.filePath(QStringLiteral("documents")), QStringLiteral("--wait"), QStringLiteral("20"),
                QStringLiteral("flash"), QStringLiteral("--boot"), writeFile(dir, QStringLiteral("b.bin"), boot),
                QStringLiteral("--left"), writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
                writeFile(dir, QStringLiteral("r.bin"), right) });
        bridging = false;
        bridge.kill();
        bridge.waitForFinished();
        sim.kill();
        sim.waitForFinished();
        QCOMPARE_EXIT(r, 0);
        QCOMPARE(r.out.trimmed(), QStringLiteral("5.1-5.2-5.3"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/boot.bin"))), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/left.bin"))), left);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/right.bin"))), right);
    }

    // With no device named, versions opens only the controller's own USB
    // device and names the devices it saw and skipped, and why; an identity
    // added in the configuration or with --usb-id is looked at too.
    void versionsNamesTheUsbDevicesItSkipped()
    {
        const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
        if (socat.isEmpty())
            QSKIP("socat is not installed (scripts/setup installs it)");
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        const QString dev = root.filePath(QStringLiteral("dev"));
        QVERIFY(QDir().mkpath(dev));
        using testsupport::addUsbTerminal;
        QVERIFY(addUsbTerminal(sys, QStringLiteral("ttyACM0"), QStringLiteral("1-1"), "fff0", "3d01"));
        QVERIFY(addUsbTerminal(sys, QStringLiteral("ttyACM1"), QStringLiteral("1-2"), "2341", "0043"));
        QVERIFY(addUsbTerminal(sys, QStringLiteral("ttyUSB0"), QStringLiteral("1-3"), "1199", "9071"));
        writeFile(root, QStringLiteral("dev/ttyACM1"), QByteArray());
        writeFile(root, QStringLiteral("dev/ttyUSB0"), QByteArray());
        // The controller's port: a pseudo-terminal bridged to the simulated controller.
        QProcess sim;
        const quint16 port = startSim(sim);
        QVERIFY(port);
        QProcess bridge;
        bridge.start(socat,
            { QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                QStringLiteral("pty,raw,echo=0,link=") + dev + QStringLiteral("/ttyACM0") });
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dev + QStringLiteral("/ttyACM0")), kPatienceMs);
        const QString config = root.filePath(QStringLiteral("config"));
        const QStringList env { QStringLiteral("Q3DART_SCAN_ROOT=") + root.path(),
            QStringLiteral("XDG_CONFIG_HOME=") + config };

        const Run r = runCli({ QStringLiteral("versions") }, env);
        QCOMPARE_EXIT(r, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(lines.value(8), QStringLiteral("devices_tried: serial:%1/ttyACM0 (answered)").arg(dev));
        QCOMPARE(lines.value(9),
            QStringLiteral("devices_skipped: %1/ttyACM1 (2341:0043: not a declared controller), %1/ttyUSB0 "
                           "(1199:9071: not a declared controller)")
                .arg(dev));
        QCOMPARE(readFile(dev + QStringLiteral("/ttyACM1")), QByteArray()); // never written
        QCOMPARE(readFile(dev + QStringLiteral("/ttyUSB0")), QByteArray());

        const Run json = runCli({ QStringLiteral("versions"), QStringLiteral("--json") }, env);
        QCOMPARE_EXIT(json, 0);
        const QJsonArray skipped = onlyJsonObject(json.out).value(QStringLiteral("devices_skipped")).toArray();
        QCOMPARE(skipped.size(), 2);
        QCOMPARE(skipped.at(1).toObject().value(QStringLiteral("device")).toString(), dev + QStringLiteral("/ttyUSB0"));
        QCOMPARE(skipped.at(1).toObject().value(QStringLiteral("reason")).toString(),
            QStringLiteral("1199:9071: not a declared controller"));

        // The board added in the configuration is asked as well (it is no
        // terminal here, so it says so); the modem added with a bad entry is not.
        QVERIFY(QDir().mkpath(config + QStringLiteral("/q3dart")));
        writeFile(root, QStringLiteral("config/q3dart/q3dart.conf"), "[usb]\nids=2341:0043 modem\n");
        const Run added = runCli({ QStringLiteral("versions") }, env);
        QCOMPARE_EXIT(added, 0);
        QVERIFY2(
            added.err.contains(QStringLiteral("q3dart.conf: \"modem\" is not a USB identity")), qPrintable(added.err));
        QVERIFY2(
            added.out.contains(QStringLiteral("devices_skipped: %1/ttyUSB0 (1199").arg(dev)), qPrintable(added.out));
        QVERIFY(!added.out.contains(QStringLiteral("ttyACM1 (2341")));
        QCOMPARE(
            runCli({ QStringLiteral("--usb-id"), QStringLiteral("2341"), QStringLiteral("versions") }, env).exitCode,
            2);

        // Without the controller: nothing is opened, and the message says what was skipped and what to do.
        bridge.kill();
        bridge.waitForFinished();
        QVERIFY(QDir(sys + QStringLiteral("/class/tty/ttyACM0")).removeRecursively());
        QFile::remove(config + QStringLiteral("/q3dart/q3dart.conf"));
        const Run none = runCli({ QStringLiteral("--wait"), QStringLiteral("0.5"), QStringLiteral("versions") }, env);
        QCOMPARE_EXIT(none, 3);
        QVERIFY2(none.err.contains(QStringLiteral("no USB serial device is a declared controller (skipped: %1/ttyACM1 "
                                                  "(2341:0043: not a declared controller)")
                                       .arg(dev)),
            qPrintable(none.err));
        QVERIFY(none.err.contains(QLatin1String("--usb-id VID:PID")));
        sim.kill();
        sim.waitForFinished();
    }

    // A port the user may not open: the tools and the application name the
    // port and the fix, in each language. Root opens any file, so the
    // programs run as an ordinary user here, one outside the port's group.
    void aPortWithoutPermissionNamesThePortAndTheFix()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::WriteOther | QFileDevice::ExeOther));
        const QString port = writeFile(dir, QStringLiteral("ttyACM0"), QByteArray());
        QStringList asUser;
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv: every port opens");
            asUser = { setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                QStringLiteral("--clear-groups") };
            QVERIFY(QFile::setPermissions(port, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        } else {
            QVERIFY(QFile::setPermissions(port, QFileDevice::Permissions()));
        }
        // Runs a program as that user; its standard error once it has said
        // `until`, or once it has ended.
        auto run = [&](const QStringList& command, const QString& until) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("HOME"), dir.path());
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            p.setProcessEnvironment(env);
            const QStringList all = asUser + command;
            p.start(all.first(), all.mid(1));
            QString err;
            testsupport::waitUntil(
                [&] {
                    err += QString::fromUtf8(p.readAllStandardError());
                    return err.contains(until) || p.state() == QProcess::NotRunning;
                },
                kPatienceMs);
            p.kill();
            p.waitForFinished();
            return err + QString::fromUtf8(p.readAllStandardError());
        };
        const std::pair<const char*, const char*> languages[]
            = { { "en", "permission denied" }, { "zh", "权限不足" }, { "ja", "アクセス権がありません" } };
        for (const auto& [language, words] : languages) {
            const QString err
                = run({ QStringLiteral(Q3DART_CLI), QStringLiteral("--lang"), QString::fromLatin1(language),
                          QStringLiteral("--device"), QStringLiteral("serial:") + port, QStringLiteral("--wait"),
                          QStringLiteral("0.5"), QStringLiteral("versions") },
                    QStringLiteral("\n\n"));
            QVERIFY2(err.contains(QString::fromUtf8(words)) && err.contains(port)
                    && err.contains(QLatin1String("70-q3dart.rules")) && err.contains(QLatin1String("usermod -aG")),
                qPrintable(err));
        }
        const QString app = run({ QStringLiteral(Q3DART_APP), QStringLiteral("--language"), QStringLiteral("ja"),
                                    QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")),
                                    QStringLiteral("--device"), QStringLiteral("serial:") + port },
            QStringLiteral("usermod -aG"));
        QVERIFY2(app.contains(QStringLiteral("アクセス権がありません")) && app.contains(port), qPrintable(app));
    }

    // A flash recorded with --record (through a link that cuts replies into
    // 3-byte pieces) is every message written and read, with its direction
    // and time, and the controller's restarts. Replayed, the recording
    // answers as the controller did and the flash reaches the same outcome;
    // the same flash with one image byte changed makes the replay name the
    // first request that differs.
    void aRecordedFlashReplaysToTheSameOutcome()
    {
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--split"), QStringLiteral("3"), QStringLiteral("--restart-delay"),
                QStringLiteral("100") });
        QVERIFY(port);
        const QByteArray boot = image(0xE800 + 40, { 6, 1 });
        const QByteArray left = image(70, { 6, 2 });
        const QByteArray right = image(50, { 6, 3 });
        const QStringList flash { QStringLiteral("flash"), QStringLiteral("--boot"),
            writeFile(dir, QStringLiteral("b.bin"), boot), QStringLiteral("--left"),
            writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), right) };
        const QString recording = dir.filePath(QStringLiteral("flash.jsonl"));
        const Run live = runCli(QStringList { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                                    QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")),
                                    QStringLiteral("--record"), recording }
                + flash,
            { QStringLiteral("Q3DART_TIME_SCALE=0.25") }, kRunMs);
        sim.kill();
        sim.waitForFinished();
        QCOMPARE_EXIT(live, 0);
        QCOMPARE(live.out.trimmed(), QStringLiteral("6.1-6.2-6.3"));

        // Every line a JSON object: the header, then messages and events in time order.
        const QList<QJsonObject> lines = events(QString::fromUtf8(readFile(recording)));
        QVERIFY(lines.size() > 20);
        QCOMPARE(lines.first().value(QStringLiteral("recording")).toString(), QStringLiteral("q3dart-link-recording"));
        QCOMPARE(
            lines.first().value(QStringLiteral("device")).toString(), QStringLiteral("tcp:127.0.0.1:%1").arg(port));
        QStringList kinds;
        double time = 0;
        for (const QJsonObject& line : lines.mid(1)) {
            QVERIFY(line.value(QStringLiteral("t")).toDouble() >= time);
            time = line.value(QStringLiteral("t")).toDouble();
            kinds << line.value(QStringLiteral("event")).toString(line.value(QStringLiteral("to")).toString());
        }
        QCOMPARE(kinds.first(), QStringLiteral("attach"));
        QCOMPARE(kinds.count(QStringLiteral("detach")), 2);
        QCOMPARE(kinds.last(), QStringLiteral("end"));
        QCOMPARE(lines.last().value(QStringLiteral("exit")).toInt(), 0);
        QCOMPARE(lines.last().value(QStringLiteral("versions")).toString(), QStringLiteral("6.1-6.2-6.3"));
        QCOMPARE(lines.at(2).value(QStringLiteral("bytes")).toString(), QStringLiteral("209f"));
        QCOMPARE(lines.at(3).value(QStringLiteral("bytes")).toString(), QStringLiteral("209f01")); // a 3-byte piece

        QString log;
        const Run replayed = runReplayed(recording, flash, &log);
        QCOMPARE_EXIT(replayed, 0);
        QCOMPARE(replayed.out.trimmed(), QStringLiteral("6.1-6.2-6.3"));
        QVERIFY2(log.contains(QLatin1String("replay: every recorded request was answered")), qPrintable(log));

        QByteArray changed = right;
        changed[33] = char(changed[33] ^ 0x5A);
        const Run differing = runReplayed(recording,
            QStringList { QStringLiteral("flash"), QStringLiteral("--boot"), flash[2], QStringLiteral("--left"),
                flash[4], QStringLiteral("--right"), writeFile(dir, QStringLiteral("changed.bin"), changed) },
            &log);
        QCOMPARE_EXIT(differing, 1);
        // Right packet 1 (offset 32) carries byte 33 as its second payload byte: header 5, then 1.
        const QRegularExpression named(QStringLiteral("replay: request \\d+ differs from the recording at byte 6: sent "
                                                      "20 90 12 20 00 [0-9a-f ]+, recorded 20 90 12 20 00 "));
        QVERIFY2(named.match(log).hasMatch(), qPrintable(log));

        // A recording that cannot be written stops the command before it talks to the controller.
        const Run unwritable = runCli({ QStringLiteral("--simulate"), QStringLiteral("--record"),
            dir.filePath(QStringLiteral("no-such-folder/x.jsonl")), QStringLiteral("versions") });
        QCOMPARE_EXIT(unwritable, 1);
        QVERIFY2(unwritable.err.contains(QLatin1String("Cannot write the recording")), qPrintable(unwritable.err));
    }

    // station --record FILE records each controller into a file of its own,
    // FILE-INDEX, and each replays to its controller's outcome.
    void aStationRecordsEachController()
    {
        QTemporaryDir dir;
        QProcess sims;
        const QList<quint16> ports = startSims(sims, 2, { QStringLiteral("--split"), QStringLiteral("2") });
        QCOMPARE(ports.size(), 2);
        const QString right = writeFile(dir, QStringLiteral("r.bin"), image(90, { 7, 3 }));
        const Run r = runCli(
            QStringList { QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")),
                QStringLiteral("--record"), dir.filePath(QStringLiteral("bench.jsonl")), QStringLiteral("station") }
            + stationDevices(ports) + QStringList { QStringLiteral("flash"), QStringLiteral("--right"), right });
        sims.kill();
        sims.waitForFinished();
        QCOMPARE_EXIT(r, 0);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("bench.jsonl"))));
        for (int i = 0; i < 2; ++i) {
            const QString recording = dir.filePath(QStringLiteral("bench-%1.jsonl").arg(i));
            const QList<QJsonObject> lines = events(QString::fromUtf8(readFile(recording)));
            QVERIFY(lines.size() > 5);
            QCOMPARE(lines.first().value(QStringLiteral("device")).toString(),
                QStringLiteral("tcp:127.0.0.1:%1").arg(ports.at(i)));
            QCOMPARE(lines.last().value(QStringLiteral("versions")).toString(), QStringLiteral("1.0-2.3-7.3"));
            QString log;
            const Run replayed
                = runReplayed(recording, { QStringLiteral("flash"), QStringLiteral("--right"), right }, &log);
            QCOMPARE_EXIT(replayed, 0);
            QVERIFY2(log.contains(QLatin1String("every recorded request was answered")), qPrintable(log));
        }
    }

    // Every recording kept under tests/recordings is a test without code of
    // its own: the images its data packets carry are sent again (or the
    // versions asked) against the recording replayed, and the run must reach
    // the recorded outcome with every recorded request answered.
    void everyKeptRecordingReplaysToItsRecordedOutcome_data()
    {
        QTest::addColumn<QString>("recording");
        const QDir folder(QStringLiteral(Q3DART_RECORDINGS));
        for (const QString& name : folder.entryList({ QStringLiteral("*.jsonl") }, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
        QVERIFY(folder.entryList({ QStringLiteral("*.jsonl") }).size() >= 2);
    }
    void everyKeptRecordingReplaysToItsRecordedOutcome()
    {
        QFETCH(QString, recording);
        RecordedController recorded;
        QString error;
        QVERIFY2(recorded.load(recording, &error), qPrintable(error));
        QVERIFY(recorded.recordedExit() >= 0);
        QTemporaryDir dir;
        QString log;
        const Run r = runReplayed(recording, replayedCommand(recorded, dir), &log);
        QCOMPARE_EXIT(r, recorded.recordedExit());
        if (recorded.recordedExit() == 0)
            QCOMPARE(r.out.section(QLatin1Char('\n'), 0, 0), recorded.recordedVersions());
        QVERIFY2(log.contains(QLatin1String("replay: every recorded request was answered")), qPrintable(log));
    }

    // Interrupted mid-image, flash lets the image end and then stops, with
    // the cancelled outcome; interrupted while the controller restarts, it
    // stops at once.
    void anInterruptionWaitsForTheImageUnderWayOrStopsTheRestartWait()
    {
        QTemporaryDir dir;
        const QByteArray boot = image(0xE800 + 4 * 1024, { 4, 1 });
        const QByteArray left = image(48 * 1024, { 4, 2 });
        const QByteArray right = image(8 * 1024, { 4, 3 });
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--restart-delay"), QStringLiteral("4000"), QStringLiteral("--flash-dir"),
                dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        const auto flash = [&](QProcess& p, const QString& interruptAtPhase) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(Q3DART_CLI),
                { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                    QStringLiteral("--documents"), dir.path(), QStringLiteral("flash"), QStringLiteral("--json"),
                    QStringLiteral("--boot"), writeFile(dir, QStringLiteral("b.bin"), boot), QStringLiteral("--left"),
                    writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
                    writeFile(dir, QStringLiteral("r.bin"), right) });
            QString out;
            bool sent = false;
            const bool ended = testsupport::waitUntil(
                [&] {
                    out += QString::fromUtf8(p.readAllStandardOutput());
                    if (!sent && out.contains(QStringLiteral("\"phase\":\"%1\"").arg(interruptAtPhase))) {
                        ::kill(pid_t(p.processId()), SIGINT);
                        sent = true;
                    }
                    return p.state() == QProcess::NotRunning;
                },
                kRunMs);
            out += QString::fromUtf8(p.readAllStandardOutput());
            return ended && sent ? out : QString();
        };

        // Mid left image: its end comes first.
        QProcess first;
        const QString out = flash(first, QStringLiteral("left"));
        QVERIFY2(!out.isEmpty(), qPrintable(out));
        QCOMPARE(first.exitCode(), 1);
        const QJsonObject last = events(out).last();
        QCOMPARE(last.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        QCOMPARE(last.value(QStringLiteral("reason")).toString(),
            QStringLiteral("Upgrade cancelled once the image being written had ended."));
        QVERIFY(QString::fromUtf8(first.readAllStandardError())
                    .contains(QLatin1String("Interrupted: the image being written")));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("flash/left.bin"))), left);
        QVERIFY(readFile(dir.filePath(QStringLiteral("flash/right.bin"))) != right); // never begun

        // While the controller restarts after the boot loader: at once.
        QVERIFY(testsupport::waitUntil(
            [&] {
                return runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                                  QStringLiteral("versions") })
                           .exitCode
                    == 0;
            },
            kRunMs));
        QProcess second;
        const QString out2 = flash(second, QStringLiteral("restart"));
        QVERIFY2(!out2.isEmpty(), qPrintable(out2));
        QCOMPARE(second.exitCode(), 1);
        const QJsonObject last2 = events(out2).last();
        QCOMPARE(last2.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        QVERIFY(last2.value(QStringLiteral("reason")).toString().startsWith(QLatin1String("Stopped waiting")));
        const Run h = runCli({ QStringLiteral("--documents"), dir.path(), QStringLiteral("history") });
        QCOMPARE(h.out.count(QStringLiteral("\tcancelled\t")), 2);
        sim.kill();
        sim.waitForFinished();
    }

    void flashFailuresAreClearAndNeverZero()
    {
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--restart-delay"), QStringLiteral("-1") });
        QVERIFY(port);
        const QString device = QStringLiteral("tcp:127.0.0.1:%1").arg(port);

        const Run missing = runCli({ QStringLiteral("--device"), device, QStringLiteral("flash"),
            QStringLiteral("--right"), dir.filePath(QStringLiteral("nothing.bin")) });
        QCOMPARE_EXIT(missing, 1);
        QVERIFY2(missing.err.contains(QLatin1String("nothing.bin cannot be sent: it cannot be read")),
            qPrintable(missing.err));

        // A left image makes the controller restart; this one never comes back
        // within the wait given, the only limit shortened.
        const Run lost = runCli({ QStringLiteral("--device"), device, QStringLiteral("--restart-wait"),
            QStringLiteral("1"), QStringLiteral("flash"), QStringLiteral("--left"),
            writeFile(dir, QStringLiteral("l.bin"), image(1000, { 7, 7 })) });
        QCOMPARE_EXIT(lost, 1);
        QVERIFY2(lost.err.contains(QLatin1String("did not come back")), qPrintable(lost.err));
        QVERIFY(lost.out.isEmpty());
        sim.kill();
        sim.waitForFinished();

        // A controller that never answers is asked who it is and sent nothing else.
        QProcess silent;
        const quint16 silentPort = startSim(silent, { QStringLiteral("--reply-delay"), QStringLiteral("600000") });
        QVERIFY(silentPort);
        const Run stalled = runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(silentPort),
            QStringLiteral("--silence-limit"), QStringLiteral("1"), QStringLiteral("flash"), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), image(1000, { 7, 8 })) });
        QCOMPARE_EXIT(stalled, 1);
        QVERIFY2(stalled.err.contains(QLatin1String("not responding")), qPrintable(stalled.err));
        QVERIFY2(!stalled.err.contains(QLatin1String("progress")), qPrintable(stalled.err));
        QVERIFY(stalled.out.isEmpty());
        silent.kill();
        silent.waitForFinished();

        QCOMPARE(runCli({ QStringLiteral("--simulate"), QStringLiteral("flash") }).exitCode, 2);
        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("flash"), QStringLiteral("--boot") }).exitCode, 2);
    }

    // A release whose right image the protocol cannot carry, beside good
    // boot loader and left images: refused before the first byte of any
    // image, whichever way it is sent, so the controller is never left half
    // new. The image and the reason are named.
    void anUnsendableImageSendsNothing_data()
    {
        QTest::addColumn<int>("rightSize");
        QTest::addColumn<QString>("why");
        QTest::newRow("too long for the protocol") << 70000 << "larger than the 65535 bytes";
        QTest::newRow("empty") << 0 << "it is empty";
    }

    void anUnsendableImageSendsNothing()
    {
        QFETCH(int, rightSize);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString version = QStringLiteral("9.1-9.2-9.3");
        const QByteArray boot = image(0xE800 + 2048, { 9, 1 });
        const QByteArray left = image(6 * 1024, { 9, 2 });
        const QByteArray right = rightSize > 0 ? image(rightSize, { 9, 3 }) : QByteArray();
        // The same images as loose files, a local release and an online one.
        const QString documents = dir.filePath(QStringLiteral("documents"));
        const QString local = documents + QStringLiteral("/LocalBinFiles/zelmar-q3-dart/") + version;
        QVERIFY(QDir().mkpath(local));
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(QDir().mkpath(releases));
        {
            ZipWriter zip(releases + QLatin1Char('/') + version + QStringLiteral(".zip"));
            for (const auto& [name, bytes] :
                { std::pair { QStringLiteral("V7E_IAP.bin"), boot }, std::pair { QStringLiteral("V7E_ISP.bin"), left },
                    std::pair { QStringLiteral("Q3_RIGHT.bin"), right } }) {
                QVERIFY(zip.addFile(name, bytes));
                QFile f(local + QLatin1Char('/') + name);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(bytes);
            }
            QVERIFY(zip.close());
        }
        QProcess server;
        const QString url = startReleaseServer(server, releases);
        QVERIFY(!url.isEmpty());
        const QStringList files { QStringLiteral("--boot"), writeFile(dir, QStringLiteral("b.bin"), boot),
            QStringLiteral("--left"), writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), right) };
        const QList<QStringList> jobs {
            QStringList { QStringLiteral("flash") } + files,
            QStringList { QStringLiteral("upgrade"), QStringLiteral("--local"), version },
            QStringList { QStringLiteral("upgrade"), QStringLiteral("--online"), version },
            QStringList { QStringLiteral("station"), QStringLiteral("--device"), QStringLiteral("DEVICE"),
                QStringLiteral("flash") }
                + files,
        };
        for (const QStringList& job : jobs) {
            QProcess sim;
            const QString flash = dir.filePath(QStringLiteral("flash-") + job.first() + job.value(1));
            const quint16 port = startSim(sim, { QStringLiteral("--flash-dir"), flash });
            QVERIFY(port);
            const QString device = QStringLiteral("tcp:127.0.0.1:%1").arg(port);
            QStringList words { QStringLiteral("--documents"), documents, QStringLiteral("--server"), url };
            if (job.first() != QLatin1String("station"))
                words << QStringLiteral("--device") << device;
            words += job;
            words.replaceInStrings(QStringLiteral("DEVICE"), device);
            const Run r = runCli(words, {}, kRunMs);
            QCOMPARE_EXIT(r, 1);
            QVERIFY2(r.err.contains(QStringLiteral("Q3_RIGHT.bin")) || r.err.contains(QStringLiteral("r.bin")),
                qPrintable(job.join(QLatin1Char(' ')) + QStringLiteral(": ") + r.err));
            QVERIFY2(r.err.contains(why), qPrintable(r.err));
            // Not one byte of an image reached the controller's flash.
            QVERIFY2(QDir(flash).entryList(QDir::Files).isEmpty(), qPrintable(job.join(QLatin1Char(' '))));
            sim.kill();
            sim.waitForFinished();
        }
        server.kill();
        server.waitForFinished();
    }

    // The controller refuses the right image's checksum after the boot loader
    // and the left side went in: the outcome names what was installed, as
    // the versions read back show it, in words, in --json and in the
    // history. With the right image alone refused, nothing was installed.
    void aFailedRunSaysWhatWasInstalled()
    {
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(
            sim, { QStringLiteral("--refuse-checksum"), QStringLiteral("--restart-delay"), QStringLiteral("200") });
        QVERIFY(port);
        const QString documents = dir.filePath(QStringLiteral("documents"));
        const QStringList run { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), documents, QStringLiteral("flash") };
        const Run all = runCli(run
                + QStringList { QStringLiteral("--boot"),
                    writeFile(dir, QStringLiteral("b.bin"), image(0xE800 + 2048, { 2, 1 })), QStringLiteral("--left"),
                    writeFile(dir, QStringLiteral("l.bin"), image(6 * 1024, { 2, 2 })), QStringLiteral("--right"),
                    writeFile(dir, QStringLiteral("r.bin"), image(4 * 1024, { 2, 3 })) },
            {}, kRunMs);
        QCOMPARE_EXIT(all, 1);
        QVERIFY2(all.err.contains(QLatin1String("checksum mismatch"))
                && all.err.contains(QLatin1String("Installed: Boot loader 2.1, Left side 2.2."))
                && all.err.contains(QLatin1String("Not installed: Right side."))
                && !all.err.contains(QLatin1String("Nothing was installed")),
            qPrintable(all.err));
        const Run history
            = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("history"), QStringLiteral("--json") });
        const QJsonObject record = QJsonDocument::fromJson(history.out.toUtf8()).array().last().toObject();
        QCOMPARE(record.value(QStringLiteral("after")).toString(), QStringLiteral("2.1-2.2-1.5"));
        QCOMPARE(record.value(QStringLiteral("installed")).toArray(),
            (QJsonArray { QStringLiteral("boot"), QStringLiteral("left") }));
        QCOMPARE(record.value(QStringLiteral("code")).toString(), QStringLiteral("ChecksumRejected"));

        const Run right = runCli(run
                + QStringList { QStringLiteral("--json"), QStringLiteral("--right"),
                    writeFile(dir, QStringLiteral("r2.bin"), image(4 * 1024, { 2, 4 })) },
            {}, kRunMs);
        QCOMPARE_EXIT(right, 1);
        const QJsonObject outcome = events(right.out).last();
        QCOMPARE(outcome.value(QStringLiteral("installed")).toArray(), QJsonArray {});
        QCOMPARE(outcome.value(QStringLiteral("versions")).toString(), QStringLiteral("2.1-2.2-1.5"));
        QVERIFY2(outcome.value(QStringLiteral("message")).toString().endsWith(QLatin1String("Nothing was installed.")),
            qPrintable(right.out));
        sim.kill();
        sim.waitForFinished();
    }

    // The application ended by SIGTERM (a logout, a shutdown) in the middle
    // of the left image lets the image end, records the run as cancelled and
    // exits; during the download it ends at once, recorded too.
    void theApplicationRecordsARunEndedBySignal()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        QProcess server;
        const QString slow
            = startReleaseServer(server, releases, { QStringLiteral("--throttle"), QStringLiteral("4") });
        QVERIFY(!slow.isEmpty());
        const auto endAt = [&](const QString& documents, const QStringList& extra, const QString& phase) {
            QProcess app;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
            env.insert(QStringLiteral("Q3DART_SIM_REPLY_DELAY_MS"), QStringLiteral("1"));
            app.setProcessEnvironment(env);
            app.start(QStringLiteral(Q3DART_APP),
                QStringList { QStringLiteral("--simulate"), QStringLiteral("--documents"), documents,
                    QStringLiteral("--measure-upgrade") }
                    + extra);
            QString out;
            bool sent = false;
            QElapsedTimer sinceSignal;
            const bool ended = testsupport::waitUntil(
                [&] {
                    out += QString::fromUtf8(app.readAllStandardOutput());
                    if (!sent && out.contains(QStringLiteral("phase: ") + phase + QLatin1Char('\n'))) {
                        ::kill(pid_t(app.processId()), SIGTERM);
                        sent = true;
                        sinceSignal.start();
                    }
                    return app.state() == QProcess::NotRunning;
                },
                kRunMs);
            if (!ended)
                app.kill();
            const Run history = runCli(
                { QStringLiteral("--documents"), documents, QStringLiteral("history"), QStringLiteral("--json") });
            const QJsonObject last = QJsonDocument::fromJson(history.out.toUtf8()).array().last().toObject();
            return std::tuple { ended && sent, sinceSignal.isValid() ? sinceSignal.elapsed() : -1, last, out };
        };

        const auto [leftEnded, leftMs, leftRecord, leftOut]
            = endAt(dir.filePath(QStringLiteral("left")), {}, QStringLiteral("Left"));
        QVERIFY2(leftEnded, qPrintable(leftOut));
        QCOMPARE(leftRecord.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        QCOMPARE(leftRecord.value(QStringLiteral("code")).toString(), QStringLiteral("CancelledAfterImage"));

        const auto [downloadEnded, downloadMs, downloadRecord, downloadOut] = endAt(
            dir.filePath(QStringLiteral("download")), { QStringLiteral("--server"), slow }, QStringLiteral("Download"));
        QVERIFY2(downloadEnded, qPrintable(downloadOut));
        QCOMPARE(downloadRecord.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        QCOMPARE(downloadRecord.value(QStringLiteral("code")).toString(), QStringLiteral("Cancelled"));
        QVERIFY2(downloadMs < 10000, qPrintable(QString::number(downloadMs))); // at once, not after the download
        server.kill();
        server.waitForFinished();
    }

    void releasesAreServedListedAndImported()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        QProcess server;
        const QString url = startReleaseServer(server, releases);
        QVERIFY2(url.startsWith(QLatin1String("http://127.0.0.1:")), qPrintable(url));

        const QString documents = dir.filePath(QStringLiteral("documents"));
        const Run online = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("--server"), url,
            QStringLiteral("releases"), QStringLiteral("--online") });
        QCOMPARE_EXIT(online, 0);
        const QStringList lines = online.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), DemoReleases::versions().size());
        QVERIFY(lines.first().startsWith(QStringLiteral("1.1-2.5-1.8\tNew boot loader")));
        server.kill();
        server.waitForFinished();
        // A port another program holds is named, with the system's reason, in
        // the language asked for.
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        const QString busy = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
        const Run refused = runCli({ QStringLiteral("serve"), releases, QStringLiteral("--listen"), busy },
            { QStringLiteral("Q3DART_LANGUAGE=ja") });
        QCOMPARE_EXIT(refused, 1);
        QVERIFY2(refused.err.startsWith(QStringLiteral("q3dart-cli: %1 で待ち受けできません：").arg(busy))
                && refused.err.count(QLatin1Char('\n')) == 1 && refused.err.size() > 40,
            qPrintable(refused.err));

        // Imported like a file opened into the application; the user's file stays.
        const QString archive = releases + QStringLiteral("/1.0-2.4-1.6.zip");
        const QByteArray before = readFile(archive);
        const Run imported = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("import"), archive });
        QCOMPARE_EXIT(imported, 0);
        QVERIFY(!imported.out.isEmpty());
        QCOMPARE(readFile(archive), before);
        const Run local = runCli(
            { QStringLiteral("--documents"), documents, QStringLiteral("releases"), QStringLiteral("--local") });
        QCOMPARE_EXIT(local, 0);
        QVERIFY2(local.out.startsWith(QStringLiteral("1.0-2.4-1.6\t") + documents), qPrintable(local.out));

        const Run notZip = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("import"),
            releases + QStringLiteral("/1.0-2.4-1.6.txt") });
        QCOMPARE_EXIT(notZip, 1);
        QVERIFY(!notZip.out.isEmpty());

        // The server gone: a clear message and a failure, not an empty success.
        const Run unreachable = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("--server"), url,
            QStringLiteral("releases"), QStringLiteral("--online") });
        QCOMPARE_EXIT(unreachable, 1);
        QVERIFY(!unreachable.err.isEmpty());
    }

    // Several archives at once: each imported on its own, a line each with
    // its outcome, the failures named again, the exit code 0 only when all
    // were imported.
    void importTakesSeveralArchivesEachWithItsOwnResult()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        const QString good = releases + QStringLiteral("/1.0-2.4-1.6.zip");
        const QString other = releases + QStringLiteral("/1.1-2.5-1.8.zip");
        // A damaged archive: the good one cut short after its first bytes.
        const QString damaged = writeFile(dir, QStringLiteral("1.2-2.6-1.9.zip"), readFile(good).left(200));
        const QString nameless = writeFile(dir, QStringLiteral("firmware.zip"), readFile(good));
        const QString documents = dir.filePath(QStringLiteral("documents"));

        const Run mixed
            = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("import"), good, damaged, nameless });
        QCOMPARE_EXIT(mixed, 1);
        const QStringList lines = mixed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines,
            QStringList({ good + QStringLiteral(": Release 1.0-2.4-1.6 imported"),
                damaged
                    + QStringLiteral(": Unzipping failed. The firmware package is damaged or could not be unpacked."),
                nameless
                    + QStringLiteral(": The file name \"firmware.zip\" holds no version number (such as "
                                     "1.2-1.3-1.4.zip), so the package was not imported. Give the file its "
                                     "release's version as its name and open it again.") }));
        // Standard error also has the import's log lines.
        QStringList failures = mixed.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        failures.removeIf([](const QString& line) { return line.startsWith(QLatin1String("q3dart.import: ")); });
        QCOMPARE(failures, QStringList({ lines.at(1), lines.at(2), QStringLiteral("1 of 3 archives imported.") }));
        // The good one is there, nothing of the others.
        const Run local = runCli(
            { QStringLiteral("--documents"), documents, QStringLiteral("releases"), QStringLiteral("--local") });
        QCOMPARE(local.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 1);
        QVERIFY2(local.out.startsWith(QStringLiteral("1.0-2.4-1.6\t")), qPrintable(local.out));

        // All imported: 0, a line each, nothing on standard error.
        const Run both = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("import"), good, other });
        QCOMPARE_EXIT(both, 0);
        QCOMPARE(both.out,
            good + QStringLiteral(": Release 1.0-2.4-1.6 imported\n") + other
                + QStringLiteral(": Release 1.1-2.5-1.8 imported\n"));
        QVERIFY(both.err.isEmpty());

        // In the language of the run; nothing to import is a usage error.
        const Run japanese = runCli({ QStringLiteral("--lang"), QStringLiteral("ja"), QStringLiteral("--documents"),
            documents, QStringLiteral("import"), damaged, nameless });
        QCOMPARE_EXIT(japanese, 1);
        QVERIFY2(japanese.err.endsWith(QStringLiteral("2 個中 0 個のアーカイブを取り込みました。\n")),
            qPrintable(japanese.err));
        QVERIFY2(japanese.out.startsWith(damaged + QStringLiteral("：")), qPrintable(japanese.out));
        const Run none = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("import") });
        QCOMPARE_EXIT(none, 2);
        QVERIFY2(none.err.contains(QLatin1String("expected FILE...")), qPrintable(none.err));
    }

    void theEmbeddedDefaultSignsItsReleasesAndTrustsItsKey()
    {
        const Run r = runCli({ QStringLiteral("--simulate"), QStringLiteral("releases"), QStringLiteral("--online") });
        QCOMPARE_EXIT(r, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), DemoReleases::versions().size());
        for (const QString& line : lines)
            QVERIFY2(line.endsWith(QLatin1String("\tsigned")), qPrintable(line));
    }

    void theEmbeddedDefaultUpgradesToTheLatestDemoRelease()
    {
        // In real time: no limit of the engine is shortened. Without a
        // system bus the run goes on, and says once that sleep is not held off.
        const Run latest
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--latest") },
                { QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/q3dart-test-bus") }, kRunMs);
        QVERIFY2(latest.exitCode == 0, qPrintable(latest.err));
        QCOMPARE(latest.out.trimmed(), DemoReleases::versions().last());
        QCOMPARE(latest.err.count(QLatin1String("Sleep could not be held off (")), 1);
        QVERIFY(latest.err.contains(QLatin1String("download: 100%")));
        QVERIFY(latest.err.contains(QLatin1String("progress: 100%")));

        // An older release that the user names is refused, unless asked for.
        const Run refused = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"),
                                       QStringLiteral("--online"), DemoReleases::versions().first() },
            {}, kRunMs);
        QCOMPARE_EXIT(refused, 1);
        QVERIFY2(refused.err.contains(QLatin1String("is older than")), qPrintable(refused.err));
        QVERIFY(refused.out.isEmpty());
        const Run older
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--allow-older"),
                         QStringLiteral("--online"), DemoReleases::versions().first() },
                {}, kRunMs);
        QVERIFY2(older.exitCode == 0, qPrintable(older.err));
        QCOMPARE(older.out.trimmed(), DemoReleases::versions().first());
    }

    // Four controllers at once, each its own images' worth of flash, its own
    // events and its own history record; one made to refuse the checksum, or
    // one that another controller takes the place of after its first
    // restart, fails alone, with its code, named with its device.
    void aStationFlashesEveryControllerAndNamesTheOneThatFailed_data()
    {
        QTest::addColumn<int>("failing"); // the controller given the fault; -1 none
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("code");
        QTest::newRow("all complete") << -1 << QStringList() << QString();
        QTest::newRow("one refuses the checksum")
            << 2 << QStringList { QStringLiteral("--fault"), QStringLiteral("2:refuse-checksum") }
            << QStringLiteral("ChecksumRejected");
        QTest::newRow("another controller comes back in place of one")
            << 1 << QStringList { QStringLiteral("--impostor"), QStringLiteral("1:1.0-2.2-2.3") }
            << QStringLiteral("DifferentControllerReturned");
    }

    void aStationFlashesEveryControllerAndNamesTheOneThatFailed()
    {
        QFETCH(int, failing);
        QFETCH(QStringList, fault);
        QFETCH(QString, code);
        constexpr int kControllers = 4;
        QTemporaryDir dir;
        const QByteArray boot = image(0xE800 + 2048, { 3, 1 });
        const QByteArray left = image(6 * 1024, { 3, 2 });
        const QByteArray right = image(5 * 1024, { 3, 3 });
        QProcess sim;
        const QStringList simOptions = QStringList { QStringLiteral("--restart-delay"), QStringLiteral("200"),
            QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) }
            + fault;
        const QList<quint16> ports = startSims(sim, kControllers, simOptions);
        QCOMPARE(ports.size(), kControllers);
        const Run r = runCli(QStringList { QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")),
                                 QStringLiteral("station"), QStringLiteral("--json") }
                + stationDevices(ports)
                + QStringList { QStringLiteral("flash"), QStringLiteral("--boot"),
                    writeFile(dir, QStringLiteral("b.bin"), boot), QStringLiteral("--left"),
                    writeFile(dir, QStringLiteral("l.bin"), left), QStringLiteral("--right"),
                    writeFile(dir, QStringLiteral("r.bin"), right) },
            {}, kRunMs);
        QCOMPARE_EXIT(r, failing < 0 ? 0 : 1);
        QHash<QString, QJsonObject> outcomes;
        for (const QJsonObject& e : events(r.out)) {
            const QString device = e.value(QStringLiteral("device")).toString();
            QVERIFY2(stationDevices(ports).contains(device), qPrintable(r.out)); // every line names its device
            if (e.value(QStringLiteral("event")).toString() == QLatin1String("outcome"))
                outcomes.insert(device, e);
        }
        QCOMPARE(outcomes.size(), kControllers);
        for (int i = 0; i < kControllers; ++i) {
            const QString device = QStringLiteral("tcp:127.0.0.1:%1").arg(ports[i]);
            const QJsonObject outcome = outcomes.value(device);
            const QString flash = dir.filePath(QStringLiteral("flash/%1/").arg(i));
            if (i == failing) {
                QCOMPARE(outcome.value(QStringLiteral("outcome")).toString(), QStringLiteral("failed"));
                QCOMPARE(outcome.value(QStringLiteral("code")).toString(), code);
                QVERIFY2(
                    r.err.contains(device + QStringLiteral(": ") + outcome.value(QStringLiteral("reason")).toString()),
                    qPrintable(r.err));
                QVERIFY(readFile(flash + QStringLiteral("right.bin")).isEmpty());
                continue;
            }
            QCOMPARE(outcome.value(QStringLiteral("outcome")).toString(), QStringLiteral("completed"));
            QCOMPARE(outcome.value(QStringLiteral("versions")).toString(), QStringLiteral("3.1-3.2-3.3"));
            QCOMPARE(readFile(flash + QStringLiteral("boot.bin")), boot.left(4) + boot.mid(0xE804));
            QCOMPARE(readFile(flash + QStringLiteral("left.bin")), left);
            QCOMPARE(readFile(flash + QStringLiteral("right.bin")), right);
        }
        // One history record per controller, each with its own Bluetooth address.
        const Run j = runCli({ QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")),
            QStringLiteral("history"), QStringLiteral("--json") });
        const QJsonArray records = QJsonDocument::fromJson(j.out.toUtf8()).array();
        QCOMPARE(records.size(), kControllers);
        QSet<QString> controllers;
        for (const QJsonValue& record : records)
            controllers.insert(record.toObject().value(QStringLiteral("controller")).toString());
        QCOMPARE(controllers.size(), kControllers);
        sim.kill();
        sim.waitForFinished();
        // An impostor is asked who it is and is sent nothing else.
        const QStringList impostorLines = QString::fromUtf8(sim.readAllStandardOutput())
                                              .split(QLatin1Char('\n'))
                                              .filter(QStringLiteral("impostor received: "));
        QCOMPARE(impostorLines.isEmpty(), !fault.contains(QStringLiteral("--impostor")));
        for (const QString& line : impostorLines)
            QVERIFY2(
                line.endsWith(QLatin1String(": 20 9f")) || line.endsWith(QLatin1String(": 01 01")), qPrintable(line));
    }

    // The plain --impostor form, as scripts give it, still puts an impostor
    // behind every controller.
    void aPlainImpostorTakesThePlaceOfEveryController()
    {
        QTemporaryDir dir;
        QProcess sim;
        const QList<quint16> ports = startSims(sim, 2,
            { QStringLiteral("--restart-delay"), QStringLiteral("100"), QStringLiteral("--impostor"),
                QStringLiteral("1.0-2.2-2.3") });
        QCOMPARE(ports.size(), 2);
        const Run r = runCli(QStringList { QStringLiteral("--documents"), dir.path(), QStringLiteral("station"),
                                 QStringLiteral("--json") }
                + stationDevices(ports)
                + QStringList { QStringLiteral("flash"), QStringLiteral("--boot"),
                    writeFile(dir, QStringLiteral("b.bin"), image(0xE800 + 300, { 1, 1 })) },
            {}, kRunMs);
        QCOMPARE_EXIT(r, 1);
        int failed = 0;
        for (const QJsonObject& e : events(r.out))
            if (e.value(QStringLiteral("event")).toString() == QLatin1String("outcome")) {
                QCOMPARE(e.value(QStringLiteral("code")).toString(), QStringLiteral("DifferentControllerReturned"));
                ++failed;
            }
        QCOMPARE(failed, 2);
        sim.kill();
        sim.waitForFinished();
    }

    // Without --json: a status line whenever a controller's stage changes
    // (stdout is no terminal here), the failures named on standard error,
    // one controller not reached failing alone.
    void aStationWithoutJsonPrintsStatusLinesAndItsFailures()
    {
        QTemporaryDir dir;
        QProcess sim;
        const QList<quint16> ports = startSims(sim, 2, { QStringLiteral("--fault"), QStringLiteral("1:silent-end") });
        QCOMPARE(ports.size(), 2);
        const quint16 unreached = testsupport::unusedPort();
        QVERIFY(unreached != 0);
        const Run r = runCli(
            QStringList { QStringLiteral("--documents"), dir.path(), QStringLiteral("--wait"), QStringLiteral("3"),
                QStringLiteral("--silence-limit"), QStringLiteral("2"), QStringLiteral("station") }
            + stationDevices(ports + QList<quint16> { unreached })
            + QStringList { QStringLiteral("flash"), QStringLiteral("--right"),
                writeFile(dir, QStringLiteral("r.bin"), image(4096, { 1, 7 })) });
        QCOMPARE_EXIT(r, 1);
        const QString first = QStringLiteral("tcp:127.0.0.1:%1").arg(ports[0]);
        const QString second = QStringLiteral("tcp:127.0.0.1:%1").arg(ports[1]);
        const QString third = QStringLiteral("tcp:127.0.0.1:%1").arg(unreached);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.contains(first + QStringLiteral("  completed, versions 1.0-2.3-1.7")), qPrintable(r.out));
        QVERIFY2(lines.contains(first + QStringLiteral("  Sending the right side's firmware…")), qPrintable(r.out));
        QVERIFY2(lines.filter(second + QStringLiteral("  failed: ")).size() == 1, qPrintable(r.out));
        QVERIFY2(r.err.contains(second + QStringLiteral(": ")), qPrintable(r.err));
        QVERIFY2(r.err.contains(third + QStringLiteral(": No controller was found on ") + third), qPrintable(r.err));
        QVERIFY2(r.err.contains(QLatin1String("1 of 3 controllers completed.")), qPrintable(r.err));
        sim.kill();
        sim.waitForFinished();
    }

    // An interruption stops every controller of the station as safely as
    // flash stops its one: those waiting for a restart at once, one not yet
    // reached at once; each named with its reason.
    void anInterruptedStationStopsEveryController()
    {
        QTemporaryDir dir;
        QProcess sim;
        const QList<quint16> ports = startSims(sim, 2, { QStringLiteral("--restart-delay"), QStringLiteral("-1") });
        QCOMPARE(ports.size(), 2);
        const quint16 unreached = testsupport::unusedPort();
        QVERIFY(unreached != 0);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(Q3DART_CLI),
            QStringList { QStringLiteral("--documents"), dir.path(), QStringLiteral("--wait"), QStringLiteral("120"),
                QStringLiteral("station") }
                + stationDevices(ports + QList<quint16> { unreached })
                + QStringList { QStringLiteral("flash"), QStringLiteral("--left"),
                    writeFile(dir, QStringLiteral("l.bin"), image(4096, { 2, 9 })) });
        QString out;
        bool sent = false;
        const QString restarting = QStringLiteral("  Waiting for the controller to restart…");
        const bool ended = testsupport::waitUntil(
            [&] {
                out += QString::fromUtf8(p.readAllStandardOutput());
                const bool bothRestarting = out.contains(QStringLiteral("tcp:127.0.0.1:%1").arg(ports[0]) + restarting)
                    && out.contains(QStringLiteral("tcp:127.0.0.1:%1").arg(ports[1]) + restarting);
                if (!sent && bothRestarting) {
                    ::kill(pid_t(p.processId()), SIGINT);
                    sent = true;
                }
                return p.state() == QProcess::NotRunning;
            },
            kRunMs);
        QVERIFY2(ended && sent, qPrintable(out));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        for (const quint16 port : ports)
            QVERIFY2(err.contains(
                         QStringLiteral("tcp:127.0.0.1:%1: Stopped waiting for the controller to restart").arg(port)),
                qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("tcp:127.0.0.1:%1: ").arg(unreached)), qPrintable(err));
        QVERIFY2(err.contains(QLatin1String("0 of 3 controllers completed.")), qPrintable(err));
        sim.kill();
        sim.waitForFinished();
    }

    // Each controller is compared with the release as upgrade compares it:
    // one up to date needs nothing (a success), an older release is refused
    // for it without --allow-older; nothing is sent to either.
    void aStationUpgradeChoosesForEachController()
    {
        QTemporaryDir dir;
        QProcess sim;
        const QList<quint16> ports
            = startSims(sim, 1, { QStringLiteral("--versions"), DemoReleases::versions().last() });
        QCOMPARE(ports.size(), 1);
        const QStringList line = QStringList { QStringLiteral("--simulate"), QStringLiteral("--documents"), dir.path(),
            QStringLiteral("station") }
            + stationDevices(ports) + QStringList { QStringLiteral("upgrade") };
        const QString device = QStringLiteral("tcp:127.0.0.1:%1").arg(ports[0]);
        const Run latest = runCli(line + QStringList { QStringLiteral("--latest") });
        QVERIFY2(latest.exitCode == 0, qPrintable(latest.err));
        QVERIFY2(latest.out.contains(device + QStringLiteral("  No newer version")), qPrintable(latest.out));
        const QString older = DemoReleases::versions().first();
        const Run refused = runCli(line + QStringList { QStringLiteral("--online"), older });
        QCOMPARE_EXIT(refused, 1);
        QVERIFY2(
            refused.err.contains(device + QStringLiteral(": Release %1 is older").arg(older)), qPrintable(refused.err));
        // Neither run was a run of the engine: nothing recorded.
        const Run h = runCli({ QStringLiteral("--documents"), dir.path(), QStringLiteral("history") });
        QCOMPARE(h.out.trimmed(), QString());
        sim.kill();
        sim.waitForFinished();
    }

    // The station's words are refused before anything is reached, each with its reason.
    void aStationRefusesBadWords_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("reason");
        const QString d = QStringLiteral("--device");
        const QString a = QStringLiteral("tcp:127.0.0.1:1");
        QTest::newRow("no device") << QStringList { QStringLiteral("flash"), QStringLiteral("--right"),
            QStringLiteral("r") } << "station needs at least one --device";
        QTest::newRow("a device twice") << QStringList { d, a, d, a, QStringLiteral("flash"), QStringLiteral("--right"),
            QStringLiteral("r") } << "tcp:127.0.0.1:1 is named twice";
        QTest::newRow("no job") << QStringList { d, a } << "station needs a job";
        QTest::newRow("unknown job") << QStringList { d, a, QStringLiteral("versions") } << "station needs a job";
        QTest::newRow("no image") << QStringList { d, a, QStringLiteral("flash") } << "at least one";
        QTest::newRow("two sources") << QStringList { d, a, QStringLiteral("upgrade"), QStringLiteral("--latest"),
            QStringLiteral("--local"), QStringLiteral("1.0-2.3-1.5") }
                                     << "upgrade needs one of";
        QTest::newRow("an option of no job")
            << QStringList { d, a, QStringLiteral("flash"), QStringLiteral("--latest") } << "--latest";
        QTest::newRow("bad address") << QStringList { d, QStringLiteral("tcp:nowhere"), QStringLiteral("flash"),
            QStringLiteral("--right"), QStringLiteral("r") }
                                     << "tcp:nowhere";
    }

    void aStationRefusesBadWords()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, reason);
        const Run r = runCli(QStringList { QStringLiteral("station") } + words);
        QCOMPARE_EXIT(r, 2);
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    }

    // An online upgrade on two controllers: one fetches the release at a
    // time (with a trusted key, as here, each fetches and checks it; without
    // one the second uses the first's), and both end on it.
    void aStationUpgradeFetchesTheReleaseOneControllerAtATime()
    {
        QTemporaryDir dir;
        QProcess sim;
        const QList<quint16> ports = startSims(sim, 1, { QStringLiteral("--restart-delay"), QStringLiteral("200") });
        QCOMPARE(ports.size(), 1);
        const QString release = DemoReleases::versions().last();
        const Run r = runCli(QStringList { QStringLiteral("--simulate"), QStringLiteral("--documents"),
                                 dir.filePath(QStringLiteral("documents")), QStringLiteral("station"),
                                 QStringLiteral("--device"), QStringLiteral("sim") }
                + stationDevices(ports)
                + QStringList { QStringLiteral("upgrade"), QStringLiteral("--json"), QStringLiteral("--online"),
                    release },
            {}, kRunMs);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        // Where each controller's fetch began and ended (its first image), in event order.
        QHash<QString, std::pair<int, int>> fetches;
        int completed = 0;
        const QList<QJsonObject> list = events(r.out);
        for (int i = 0; i < list.size(); ++i) {
            const QJsonObject& e = list[i];
            const QString device = e.value(QStringLiteral("device")).toString();
            const QString phase = e.value(QStringLiteral("phase")).toString();
            if (phase == QLatin1String("download"))
                fetches[device] = { i, int(list.size()) };
            else if (phase == QLatin1String("boot") && fetches.contains(device)
                && fetches[device].second == list.size())
                fetches[device].second = i;
            if (e.value(QStringLiteral("event")).toString() == QLatin1String("outcome")) {
                QCOMPARE(e.value(QStringLiteral("versions")).toString(), release);
                ++completed;
            }
        }
        QCOMPARE(completed, 2);
        QVERIFY(!fetches.isEmpty());
        if (fetches.size() == 2) {
            const auto a = fetches.value(QStringLiteral("sim"));
            const auto b = fetches.value(QStringLiteral("tcp:127.0.0.1:%1").arg(ports[0]));
            QVERIFY2(a.second < b.first || b.second < a.first, qPrintable(r.out));
        }
        sim.kill();
        sim.waitForFinished();
    }

    void flashJsonEndsFailedWhenTheEndIsNotConfirmed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("withinMs");
        QTest::addColumn<QString>("code");
        // The refusal of the resent checksum ends the run; a silent end waits for the silence limit.
        QTest::newRow("checksum refused") << "--refuse-checksum" << 8000 << "ChecksumRejected";
        QTest::newRow("end never answered") << "--silent-end" << kPatienceMs << "StoppedResponding";
    }

    void flashJsonEndsFailedWhenTheEndIsNotConfirmed()
    {
        QFETCH(QString, fault);
        QFETCH(int, withinMs);
        QFETCH(QString, code);
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim, { fault });
        QVERIFY(port);
        QElapsedTimer clock;
        clock.start();
        const Run r = runCli({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.path(), QStringLiteral("--silence-limit"), QStringLiteral("4"),
            QStringLiteral("flash"), QStringLiteral("--json"), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), image(4096, { 1, 9 })) });
        QVERIFY(clock.elapsed() < withinMs);
        QCOMPARE_EXIT(r, 1);
        const QList<QJsonObject> list = events(r.out);
        QVERIFY2(!list.isEmpty(), qPrintable(r.out));
        const QJsonObject last = list.last();
        QCOMPARE(last.value(QStringLiteral("event")).toString(), QStringLiteral("outcome"));
        QCOMPARE(last.value(QStringLiteral("outcome")).toString(), QStringLiteral("failed"));
        QVERIFY(!last.value(QStringLiteral("reason")).toString().isEmpty());
        QCOMPARE(last.value(QStringLiteral("code")).toString(), code);
        const QList<double> progress = progressOf(list);
        QVERIFY(!progress.isEmpty());
        QVERIFY(neverDecreases(progress));
        QVERIFY(progress.last() < 100.0);
        // The failed run is in the history.
        const Run h = runCli({ QStringLiteral("--documents"), dir.path(), QStringLiteral("history") });
        QCOMPARE_EXIT(h, 0);
        const QStringList fields = h.out.trimmed().split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[1], QStringLiteral("failed"));
        QCOMPARE(fields[2], QStringLiteral("files"));
        // flash asks the controller who it is first: the versions before and its address are recorded.
        QCOMPARE(fields[3], QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(fields[5], last.value(QStringLiteral("reason")).toString());
        QCOMPARE(fields[6], QStringLiteral("12:34:56:78:9A:BC"));
        const Run j = runCli(
            { QStringLiteral("--documents"), dir.path(), QStringLiteral("history"), QStringLiteral("--json") });
        const QJsonArray records = QJsonDocument::fromJson(j.out.toUtf8()).array();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].toObject().value(QStringLiteral("code")).toString(), code);
        sim.kill();
        sim.waitForFinished();
    }

    void anOnlineUpgradeWithJsonIsRecordedAboveTheEarlierFailure()
    {
        QTemporaryDir dir;
        const QString documents = dir.filePath(QStringLiteral("documents"));
        const Run failed = runCli({ QStringLiteral("--simulate"), QStringLiteral("--documents"), documents,
            QStringLiteral("flash"), QStringLiteral("--right"), dir.filePath(QStringLiteral("missing.bin")) });
        QCOMPARE_EXIT(failed, 1);

        const QString release = DemoReleases::versions().last();
        const Run r
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("--documents"), documents,
                         QStringLiteral("upgrade"), QStringLiteral("--json"), QStringLiteral("--online"), release },
                {}, kRunMs);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QList<QJsonObject> list = events(r.out);
        QVERIFY2(!list.isEmpty(), qPrintable(r.out));
        const QJsonObject last = list.last();
        QCOMPARE(last.value(QStringLiteral("outcome")).toString(), QStringLiteral("completed"));
        QCOMPARE(last.value(QStringLiteral("versions")).toString(), release);
        QStringList phases;
        bool downloaded = false;
        for (const QJsonObject& e : list) {
            if (e.value(QStringLiteral("event")).toString() == QLatin1String("phase"))
                phases << e.value(QStringLiteral("phase")).toString();
            downloaded = downloaded || e.value(QStringLiteral("event")).toString() == QLatin1String("download");
        }
        QVERIFY(downloaded);
        QCOMPARE(phases,
            (QStringList { QStringLiteral("download"), QStringLiteral("digest"), QStringLiteral("unpack"),
                QStringLiteral("boot"), QStringLiteral("restart"), QStringLiteral("left"), QStringLiteral("restart"),
                QStringLiteral("right"), QStringLiteral("versions") }));
        const QList<double> progress = progressOf(list);
        QVERIFY(neverDecreases(progress));
        QCOMPARE(progress.last(), 100.0);
        QVERIFY(progress.count(100.0) == 1);

        const Run h = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("history") });
        QCOMPARE_EXIT(h, 0);
        const QStringList lines = h.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].split(QLatin1Char('\t')).mid(1, 4),
            (QStringList { QStringLiteral("completed"), release, QStringLiteral("1.0-2.3-1.5"), release }));
        QCOMPARE(lines[1].split(QLatin1Char('\t')).value(1), QStringLiteral("failed"));

        const Run j
            = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("history"), QStringLiteral("--json") });
        QCOMPARE_EXIT(j, 0);
        const QJsonArray array = QJsonDocument::fromJson(j.out.toUtf8()).array();
        QCOMPARE(array.size(), 2);
        const QJsonObject newest = array.at(0).toObject();
        QStringList keys = newest.keys();
        keys.sort();
        QCOMPARE(keys,
            (QStringList { QStringLiteral("after"), QStringLiteral("before"), QStringLiteral("bytes"),
                QStringLiteral("code"), QStringLiteral("controller"), QStringLiteral("controller_text"),
                QStringLiteral("installed"), QStringLiteral("outcome"), QStringLiteral("reason"),
                QStringLiteral("release"), QStringLiteral("seconds"), QStringLiteral("source"),
                QStringLiteral("started") }));
        QCOMPARE(newest.value(QStringLiteral("source")).toString(), QStringLiteral("online"));
        QCOMPARE(newest.value(QStringLiteral("controller")).toString(), QStringLiteral("123456789ABC"));
        QCOMPARE(newest.value(QStringLiteral("controller_text")).toString(), QStringLiteral("12:34:56:78:9A:BC"));
        QVERIFY(newest.value(QStringLiteral("bytes")).toDouble() > 0);
        QCOMPARE(newest.value(QStringLiteral("code")).toString(), QString());
        QCOMPARE(array.at(1).toObject().value(QStringLiteral("release")).toString(), QStringLiteral("files"));

        // A damaged history is reported, not taken for an empty one.
        QFile damaged(documents + QStringLiteral("/upgrade-history.json"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("[{");
        damaged.close();
        const Run unreadable = runCli({ QStringLiteral("--documents"), documents, QStringLiteral("history") });
        QCOMPARE_EXIT(unreadable, 1);
        QVERIFY2(unreadable.err.contains(QLatin1String("cannot be read")), qPrintable(unreadable.err));
        QCOMPARE(
            runCli({ QStringLiteral("--documents"), documents, QStringLiteral("history"), QStringLiteral("extra") })
                .exitCode,
            2);
    }

    // On a full documents folder a flash still completes and says so, and
    // the history it could not add to is left exactly as it was, with the
    // reason and the folder named; a list that verified but cannot be
    // recorded is refused, the trust record untouched. A read-only folder
    // is named as such.
    void aFullOrReadOnlyDiskLosesNoRecord()
    {
        QTemporaryDir dir;
        const QString documents = dir.filePath(QStringLiteral("small"));
        SmallDisk disk(documents);
        if (!disk.isMounted())
            QSKIP("needs a tmpfs of its own, which only root may mount (as in CI)");
        QProcess sim;
        const quint16 port = startSim(sim);
        QVERIFY(port);
        const QString device = QStringLiteral("tcp:127.0.0.1:%1").arg(port);
        const QStringList flash { QStringLiteral("--device"), device, QStringLiteral("--documents"), documents,
            QStringLiteral("flash"), QStringLiteral("--right"),
            writeFile(dir, QStringLiteral("r.bin"), image(2048, { 5, 5 })) };
        QCOMPARE_EXIT(runCli(flash), 0); // one record in the history

        // A signed site whose list this documents folder has accepted once.
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        const QString keyFile = dir.filePath(QStringLiteral("key.pem"));
        const Run keygen = runCli({ QStringLiteral("keygen"), keyFile });
        const QString publicKey = keygen.out.trimmed().split(QLatin1Char('\n')).last();
        TestHttpServer site;
        site.root = dir.filePath(QStringLiteral("site"));
        QCOMPARE_EXIT(runCli({ QStringLiteral("publish"), releases, site.root, QStringLiteral("--base-url"),
                          site.baseUrl(), QStringLiteral("--sign-key"), keyFile }),
            0);
        const QStringList list { QStringLiteral("--documents"), documents, QStringLiteral("--server"), site.baseUrl(),
            QStringLiteral("--trust-key"), publicKey, QStringLiteral("releases"), QStringLiteral("--online") };
        QCOMPARE_EXIT(runCliServing(list), 0);
        QCOMPARE_EXIT(runCli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), keyFile }), 0);

        const QString history = documents + QStringLiteral("/upgrade-history.json");
        const QString trust = documents + QStringLiteral("/release-trust.json");
        const QByteArray historyBefore = readFile(history);
        const QByteArray trustBefore = readFile(trust);
        QVERIFY(!historyBefore.isEmpty() && !trustBefore.isEmpty());
        disk.fill();

        const Run full = runCli(flash);
        QCOMPARE_EXIT(full, 0); // the controller took the image: the run completed
        QCOMPARE(full.out.section(QLatin1Char('\n'), 0, 0), QStringLiteral("1.0-2.3-5.5"));
        QVERIFY2(full.err.contains(QStringLiteral("The upgrade history (%1) could not be saved").arg(history))
                && full.err.contains(qt_error_string(ENOSPC)) && full.err.contains(documents),
            qPrintable(full.err));
        QCOMPARE(readFile(history), historyBefore);

        const Run refused = runCliServing(list);
        QCOMPARE_EXIT(refused, 1);
        QVERIFY2(
            refused.err.contains(QLatin1String("could not be saved")) && refused.err.contains(qt_error_string(ENOSPC)),
            qPrintable(refused.err));
        QCOMPARE(readFile(trust), trustBefore);

        QVERIFY(disk.remountReadOnly());
        const Run readOnly = runCli(flash);
        QCOMPARE_EXIT(readOnly, 0);
        QVERIFY2(readOnly.err.contains(QStringLiteral("the folder %1 is read-only").arg(documents)),
            qPrintable(readOnly.err));
        QCOMPARE(readFile(history), historyBefore);
        sim.kill();
        sim.waitForFinished();
    }

    // A server that trickles a byte every so often, never silent for long:
    // the list ends at its deadline and the download once its rate has
    // stayed below the floor, each with its own message.
    void aTricklingServerEndsAtTheDeadlineOrTheRateFloor()
    {
        QTemporaryDir dir;
        TestHttpServer trickling;
        trickling.trickleMs = 500;
        trickling.body = QByteArray("{\"data\":[") + QByteArray(400, ' ') + "]}";
        QElapsedTimer clock;
        clock.start();
        const Run list = runCliServing({ QStringLiteral("--documents"), dir.path(), QStringLiteral("--server"),
            trickling.baseUrl(), QStringLiteral("--list-deadline"), QStringLiteral("2"), QStringLiteral("releases"),
            QStringLiteral("--online") });
        QCOMPARE_EXIT(list, 1);
        QVERIFY2(list.err.contains(QLatin1String("did not arrive within 2 s")), qPrintable(list.err));
        QVERIFY(clock.elapsed() < 60 * 1000);

        // The list comes whole from one server, the archive trickles from another.
        TestHttpServer catalogue;
        TestHttpServer archive;
        archive.trickleMs = 500;
        archive.contentType = "application/zip";
        archive.body = QByteArray(4096, 'z');
        catalogue.body
            = QStringLiteral("{\"data\":[{\"ver\":\"9.9-9.9-9.9\",\"path\":\"%1/a.zip\",\"md5file\":\"00\"}]}")
                  .arg(archive.baseUrl())
                  .toUtf8();
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        clock.restart();
        const Run download = runCliServing({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.path(), QStringLiteral("--server"), catalogue.baseUrl(),
            QStringLiteral("--stall-limit"), QStringLiteral("2"), QStringLiteral("upgrade"), QStringLiteral("--json"),
            QStringLiteral("--online"), QStringLiteral("9.9-9.9-9.9") });
        QCOMPARE_EXIT(download, 1);
        QCOMPARE(
            events(download.out).last().value(QStringLiteral("code")).toString(), QStringLiteral("DownloadTooSlow"));
        QVERIFY2(download.err.contains(QLatin1String("slower than 1 KiB/s for 2 s")), qPrintable(download.err));
        QVERIFY(clock.elapsed() < 60 * 1000);
        QVERIFY(QDir(dir.filePath(QStringLiteral("flash"))).isEmpty());
        sim.kill();
        sim.waitForFinished();
    }

    void latestSendsNothingWhenTheControllerIsUpToDate_data()
    {
        QTest::addColumn<QString>("versions");
        QTest::newRow("the newest release") << DemoReleases::versions().last();
        QTest::newRow("a newer one") << QStringLiteral("1.2-2.6-1.9");
    }

    void latestSendsNothingWhenTheControllerIsUpToDate()
    {
        QFETCH(QString, versions);
        QTemporaryDir dir;
        QProcess sim;
        const quint16 port = startSim(sim,
            { QStringLiteral("--versions"), versions, QStringLiteral("--flash-dir"),
                dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        // The demo environment serves the releases; the controller is the one on TCP.
        const Run r = runCli(
            { QStringLiteral("--simulate"), QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")), QStringLiteral("upgrade"),
                QStringLiteral("--latest") },
            {}, kRunMs);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.err.contains(QLatin1String("No newer version")), qPrintable(r.err));
        QVERIFY(QDir(dir.filePath(QStringLiteral("flash"))).isEmpty());
        const Run v = runCli(
            { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port), QStringLiteral("versions") });
        QCOMPARE(v.out.section(QLatin1Char('\n'), 0, 0), versions);
        sim.kill();
        sim.waitForFinished();
    }

    void upgradeRefusalsAreClearAndNeverZero()
    {
        const Run missing = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"),
            QStringLiteral("--online"), QStringLiteral("9.9-9.9-9.9") });
        QCOMPARE_EXIT(missing, 1);
        QVERIFY2(missing.err.contains(QLatin1String("9.9-9.9-9.9 was not found")), qPrintable(missing.err));
        QVERIFY(missing.out.isEmpty());

        const Run local = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--local"),
            QStringLiteral("1.0-2.4-1.6") });
        QCOMPARE_EXIT(local, 1); // nothing imported in the throw-away documents

        const Run offline = runCli({ QStringLiteral("--simulate"), QStringLiteral("--server"),
            QStringLiteral("http://127.0.0.1:1"), QStringLiteral("upgrade"), QStringLiteral("--latest") });
        QCOMPARE_EXIT(offline, 1);
        QVERIFY2(offline.err.contains(QLatin1String("release list")), qPrintable(offline.err));

        QCOMPARE(runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade") }).exitCode, 2);
        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--online") }).exitCode,
            2);
    }

    // A vendor's way: a key, a signed static site on a plain web server, an
    // upgrade that trusts the key; then the forgeries that must not install.
    void aPublishedSignedSiteInstallsAndItsForgeriesAreRefused()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        const QString keyFile = dir.filePath(QStringLiteral("release-key.pem"));
        const Run keygen = runCli({ QStringLiteral("keygen"), keyFile });
        QCOMPARE_EXIT(keygen, 0);
        const QString publicKey = keygen.out.trimmed().split(QLatin1Char('\n')).last();
        QCOMPARE(QByteArray::fromBase64(publicKey.toLatin1()).size(), 32);
        QCOMPARE(QFile::permissions(keyFile) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
            QFileDevice::Permissions());
        const QByteArray pem = readFile(keyFile);
        QCOMPARE(runCli({ QStringLiteral("keygen"), keyFile }).exitCode, 1); // never over a key
        QCOMPARE(readFile(keyFile), pem);

        TestHttpServer site; // a plain static web server: files, JSON for the extensionless list
        site.root = dir.filePath(QStringLiteral("site"));
        auto publish = [&](const QStringList& extra) {
            return runCli(QStringList { QStringLiteral("publish"), releases, site.root, QStringLiteral("--base-url"),
                              site.baseUrl() }
                + extra);
        };
        QCOMPARE(publish({ QStringLiteral("--sign-key"), keyFile }).exitCode, 0);
        const QString listPath = site.root + QStringLiteral("/firmware/update/r1");
        QJsonObject list = QJsonDocument::fromJson(readFile(listPath)).object();
        QJsonArray data = list.value(QStringLiteral("data")).toArray();
        QCOMPARE(data.size(), DemoReleases::versions().size());

        // The signatures verify with openssl, as the README shows.
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (!openssl.isEmpty()) {
            QProcess pub;
            pub.start(openssl,
                { QStringLiteral("pkey"), QStringLiteral("-in"), keyFile, QStringLiteral("-pubout"),
                    QStringLiteral("-out"), dir.filePath(QStringLiteral("pub.pem")) });
            QVERIFY(pub.waitForFinished(kPatienceMs) && pub.exitCode() == 0);
            for (const QJsonValue& v : std::as_const(data)) {
                const QJsonObject release = v.toObject();
                writeFile(dir, QStringLiteral("message"),
                    "q3dart-release-v1\n" + release.value(QStringLiteral("ver")).toString().toUtf8() + '\n'
                        + release.value(QStringLiteral("sha256")).toString().toUtf8());
                writeFile(dir, QStringLiteral("sig"),
                    QByteArray::fromBase64(release.value(QStringLiteral("sig")).toString().toLatin1()));
                QProcess verify;
                verify.start(openssl,
                    { QStringLiteral("pkeyutl"), QStringLiteral("-verify"), QStringLiteral("-pubin"),
                        QStringLiteral("-inkey"), dir.filePath(QStringLiteral("pub.pem")), QStringLiteral("-rawin"),
                        QStringLiteral("-in"), dir.filePath(QStringLiteral("message")), QStringLiteral("-sigfile"),
                        dir.filePath(QStringLiteral("sig")) });
                QVERIFY(verify.waitForFinished(kPatienceMs));
                QVERIFY2(verify.exitCode() == 0, verify.readAllStandardError().constData());
            }
        }

        const QString release = QStringLiteral("1.0-2.4-1.6");
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        // An upgrade to the release from the site, on the controller at port.
        auto upgrade = [&](quint16 controller, const QString& documents, const QStringList& extra) {
            return runCliServing(
                QStringList { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(controller),
                    QStringLiteral("--documents"), dir.filePath(documents), QStringLiteral("--server"), site.baseUrl(),
                    QStringLiteral("upgrade"), QStringLiteral("--online"), release }
                + extra);
        };
        const QStringList trust { QStringLiteral("--trust-key"), publicKey };
        const Run installed = upgrade(port, QStringLiteral("documents"), trust);
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.err));
        QCOMPARE(installed.out.trimmed(), release);
        const Run listed = runCliServing({ QStringLiteral("--server"), site.baseUrl(), QStringLiteral("releases"),
            QStringLiteral("--online"), QStringLiteral("--trust-key"), publicKey });
        QCOMPARE_EXIT(listed, 0);
        QVERIFY2(
            listed.out.contains(release + QStringLiteral("\t")) && listed.out.count(QStringLiteral("\tsigned\n")) == 3,
            qPrintable(listed.out));
        sim.kill();
        sim.waitForFinished();

        // One archive replaced, its md5file and sha256 rewritten, the signature kept.
        const QString archive = site.root + QStringLiteral("/releases/") + release + QStringLiteral(".zip");
        QVERIFY(QFile::remove(archive));
        QVERIFY(QFile::copy(releases + QStringLiteral("/1.1-2.5-1.8.zip"), archive));
        for (QJsonValueRef v : data) {
            QJsonObject r = v.toObject();
            if (r.value(QStringLiteral("ver")).toString() != release)
                continue;
            r.insert(QStringLiteral("md5file"), FileHash::md5HashOfFileAtPath(archive));
            r.insert(QStringLiteral("sha256"), FileHash::sha256HashOfFileAtPath(archive));
            v = r;
        }
        list.insert(QStringLiteral("data"), data);
        writeFile(dir, QStringLiteral("site/firmware/update/r1"), QJsonDocument(list).toJson());
        const QString flash = dir.filePath(QStringLiteral("flash-2"));
        const quint16 port2 = startSim(sim, { QStringLiteral("--flash-dir"), flash });
        QVERIFY(port2);
        auto upgrade2 = [&](const QStringList& extra) { return upgrade(port2, QStringLiteral("documents-2"), extra); };
        // The list no longer matches its signature; signed again over the
        // replaced archive, the release's own signature still refuses it.
        const Run edited = upgrade2(trust);
        QCOMPARE_EXIT(edited, 1);
        QVERIFY2(edited.err.contains(QLatin1String("not signed by a trusted key")), qPrintable(edited.err));
        QCOMPARE(runCli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), keyFile }).exitCode, 0);
        const Run forged = upgrade2(trust);
        QCOMPARE_EXIT(forged, 1);
        QVERIFY2(forged.err.contains(QLatin1String("failed the signature check")), qPrintable(forged.err));
        QVERIFY(forged.out.isEmpty());
        QVERIFY(QDir(flash).isEmpty());

        // An unsigned list: refused while a key is trusted, installed when none is.
        QCOMPARE(publish({}).exitCode, 0);
        QVERIFY(!readFile(listPath).contains("\"sig\""));
        const Run unsigned_ = upgrade2(trust);
        QCOMPARE_EXIT(unsigned_, 1);
        QVERIFY2(unsigned_.err.contains(QLatin1String("is not signed")), qPrintable(unsigned_.err));
        QVERIFY(QDir(flash).isEmpty());
        const Run untrusted = upgrade2({});
        QVERIFY2(untrusted.exitCode == 0, qPrintable(untrusted.err));
        QCOMPARE(untrusted.out.trimmed(), release);
        QVERIFY(!QDir(flash).isEmpty());
        sim.kill();
        sim.waitForFinished();

        // serve holds no key: it refuses one and points to publish; the
        // signed site, served as it is, lists as signed.
        const Run oracle = runCli({ QStringLiteral("serve"), releases, QStringLiteral("--sign-key"), keyFile });
        QCOMPARE_EXIT(oracle, 2);
        QVERIFY2(oracle.err.contains(QLatin1String("publish")), qPrintable(oracle.err));
        QCOMPARE(publish({ QStringLiteral("--sign-key"), keyFile }).exitCode, 0);
        QProcess server;
        server.start(QStringLiteral(Q3DART_CLI),
            { QStringLiteral("serve"), QStringLiteral("--site"), site.root, QStringLiteral("--listen"),
                QStringLiteral("127.0.0.1:0") });
        QVERIFY(server.waitForReadyRead(kPatienceMs));
        const QString served = QString::fromUtf8(server.readLine()).trimmed().section(QStringLiteral(" at "), 1);
        const Run servedList = runCli({ QStringLiteral("--server"), served, QStringLiteral("releases"),
            QStringLiteral("--online"), QStringLiteral("--trust-key"), publicKey });
        QVERIFY2(servedList.exitCode == 0, qPrintable(servedList.err));
        QCOMPARE(servedList.out.count(QStringLiteral("\tsigned\n")), DemoReleases::versions().size());
        server.kill();
        server.waitForFinished();

        QCOMPARE(
            runCli({ QStringLiteral("--trust-key"), QStringLiteral("c2hvcnQ="), QStringLiteral("releases") }).exitCode,
            2);
        QCOMPARE(runCli({ QStringLiteral("publish"), releases, site.root, QStringLiteral("--sign-key"),
                            dir.filePath(QStringLiteral("missing.pem")) })
                     .exitCode,
            1);
        QCOMPARE(runCli({ QStringLiteral("publish"), releases }).exitCode, 2);
        QCOMPARE(runCli({ QStringLiteral("publish"), releases, site.root, QStringLiteral("--base-url"),
                            QStringLiteral("ftp://x") })
                     .exitCode,
            2);
    }

    // A vendor with a root: the root certifies key A, then a key set replaces
    // A by B; a client trusting only the root, over a plain static web server.
    // Every file verifies with openssl; replays, expiry and forgeries refuse
    // with nothing sent.
    void aRootRotatesTheReleaseKeysAndNothingUnsignedInstalls()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        QHash<QString, QStringList> keys; // name: key id, public key
        for (const QString& name : { QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("b") }) {
            const Run keygen = runCli({ QStringLiteral("keygen"), dir.filePath(name + QStringLiteral(".pem")) });
            QCOMPARE_EXIT(keygen, 0);
            keys[name] = keygen.out.trimmed().split(QLatin1Char('\n'));
            QCOMPARE(keys[name].size(), 2);
            QCOMPARE(keys[name][0], ReleaseSignature::keyId(ReleaseSignature::decodePublicKey(keys[name][1])));
        }
        auto pem = [&](const QString& name) { return dir.filePath(name + QStringLiteral(".pem")); };
        TestHttpServer site;
        site.root = dir.filePath(QStringLiteral("site"));
        auto cli = [&](const QStringList& args) { return runCli(args); };
        auto publishWith = [&](const QString& key) {
            return cli({ QStringLiteral("publish"), releases, site.root, QStringLiteral("--base-url"), site.baseUrl(),
                QStringLiteral("--sign-key"), pem(key) });
        };
        QCOMPARE(publishWith(QStringLiteral("a")).exitCode, 0);
        QCOMPARE(cli({ QStringLiteral("sign-keys"), site.root, QStringLiteral("--root-key"),
                         pem(QStringLiteral("root")), QStringLiteral("--add"), keys[QStringLiteral("a")][1] })
                     .exitCode,
            0);
        const QString update = site.root + QStringLiteral("/firmware/update/");

        // The list and the key set verify with openssl, as the README shows.
        if (const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl")); !openssl.isEmpty()) {
            for (const auto& [file, key] : { std::pair { QStringLiteral("r1"), QStringLiteral("a") },
                     std::pair { QStringLiteral("keys.json"), QStringLiteral("root") } }) {
                QProcess pub;
                pub.start(openssl,
                    { QStringLiteral("pkey"), QStringLiteral("-in"), pem(key), QStringLiteral("-pubout"),
                        QStringLiteral("-out"), dir.filePath(key + QStringLiteral("-pub.pem")) });
                QVERIFY(pub.waitForFinished(kPatienceMs) && pub.exitCode() == 0);
                writeFile(dir, QStringLiteral("sig.bin"),
                    QByteArray::fromBase64(readFile(update + file + QStringLiteral(".sig"))));
                QProcess verify;
                verify.start(openssl,
                    { QStringLiteral("pkeyutl"), QStringLiteral("-verify"), QStringLiteral("-pubin"),
                        QStringLiteral("-inkey"), dir.filePath(key + QStringLiteral("-pub.pem")),
                        QStringLiteral("-rawin"), QStringLiteral("-in"), update + file, QStringLiteral("-sigfile"),
                        dir.filePath(QStringLiteral("sig.bin")) });
                QVERIFY(verify.waitForFinished(kPatienceMs));
                QVERIFY2(verify.exitCode() == 0, verify.readAllStandardError().constData());
            }
        }

        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        const QStringList client { QStringLiteral("--documents"), dir.filePath(QStringLiteral("client")),
            QStringLiteral("--server"), site.baseUrl(), QStringLiteral("--trust-root"),
            keys[QStringLiteral("root")][1] };
        auto upgrade = [&](quint16 controller, const QString& release) {
            return runCliServing(client
                + QStringList { QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(controller),
                    QStringLiteral("upgrade"), QStringLiteral("--online"), release });
        };
        auto listed = [&] {
            return runCliServing(client + QStringList { QStringLiteral("releases"), QStringLiteral("--online") });
        };
        const Run byA = upgrade(port, QStringLiteral("1.0-2.4-1.6"));
        QVERIFY2(byA.exitCode == 0, qPrintable(byA.err));

        // B replaces A: the new key set and a list signed by B.
        QCOMPARE(cli({ QStringLiteral("sign-keys"), site.root, QStringLiteral("--root-key"),
                         pem(QStringLiteral("root")), QStringLiteral("--add"), keys[QStringLiteral("b")][1],
                         QStringLiteral("--remove"), keys[QStringLiteral("a")][0] })
                     .exitCode,
            0);
        QCOMPARE(publishWith(QStringLiteral("b")).exitCode, 0);
        const Run byB = upgrade(port, QStringLiteral("1.1-2.5-1.8"));
        QVERIFY2(byB.exitCode == 0, qPrintable(byB.err));
        sim.kill();
        sim.waitForFinished();

        // From here nothing may reach this controller's flash.
        const QString flash = dir.filePath(QStringLiteral("flash-refused"));
        const quint16 port2 = startSim(sim, { QStringLiteral("--flash-dir"), flash });
        QVERIFY(port2);
        auto refused = [&](const QString& release, const char* message) {
            const Run run = upgrade(port2, release);
            QVERIFY2(run.exitCode == 1 && run.err.contains(QLatin1String(message)), qPrintable(run.err));
            QVERIFY(QDir(flash).isEmpty());
        };
        // Releases signed by A under a list signed by B: invalid, refused.
        QCOMPARE(publishWith(QStringLiteral("a")).exitCode, 0);
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("b")) })
                     .exitCode,
            0);
        const Run marks = listed();
        QCOMPARE_EXIT(marks, 0);
        QCOMPARE(marks.out.count(QStringLiteral("\tinvalid\n")), DemoReleases::versions().size());
        refused(QStringLiteral("1.1-2.5-1.8"), "failed the signature check");
        // A list signed by A alone, and a list version going back.
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("a")) })
                     .exitCode,
            0);
        refused(QStringLiteral("1.1-2.5-1.8"), "not signed by a trusted key");
        QCOMPARE(publishWith(QStringLiteral("b")).exitCode, 0);
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("b")),
                         QStringLiteral("--list-version"), QStringLiteral("1") })
                     .exitCode,
            0);
        refused(QStringLiteral("1.1-2.5-1.8"), "is older than one already accepted");
        const Run rollbackList = listed();
        QCOMPARE_EXIT(rollbackList, 1);
        QVERIFY(rollbackList.out.isEmpty());
        // Expired: --expires 0 writes a list already past its date.
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("b")),
                         QStringLiteral("--expires"), QStringLiteral("0"), QStringLiteral("--list-version"),
                         QStringLiteral("50") })
                     .exitCode,
            0);
        refused(QStringLiteral("1.1-2.5-1.8"), "expired");

        // The forged entry: an unpacked folder relabelled as a new version,
        // nothing signed, on a plain host; then even in a list signed by B.
        const QString unpacked = dir.filePath(QStringLiteral("client/RemoteBinFiles/zelmar-q3-dart/1.1-2.5-1.8"));
        QVERIFY(QFileInfo(unpacked).isDir());
        const QByteArray forged
            = QJsonDocument(QJsonObject { { QStringLiteral("data"),
                                QJsonArray { QJsonObject { { QStringLiteral("ver"), QStringLiteral("9.9-9.9-9.9") },
                                    { QStringLiteral("path"), unpacked } } } } })
                  .toJson();
        writeFile(dir, QStringLiteral("site/firmware/update/r1"), forged);
        QVERIFY(QFile::remove(update + QStringLiteral("r1.sig")));
        refused(QStringLiteral("9.9-9.9-9.9"), "not signed by a trusted key");
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("b")),
                         QStringLiteral("--list-version"), QStringLiteral("60") })
                     .exitCode,
            0);
        const Run forgedMarks = listed();
        QVERIFY2(forgedMarks.out.contains(QStringLiteral("9.9-9.9-9.9\t"))
                && forgedMarks.out.endsWith(QStringLiteral("\tunsigned\n")),
            qPrintable(forgedMarks.out));
        refused(QStringLiteral("9.9-9.9-9.9"), "is not signed");
        // The same with a single trusted key and no root.
        const Run keyOnly
            = runCliServing(QStringList { QStringLiteral("--documents"), dir.filePath(QStringLiteral("key-only")),
                QStringLiteral("--server"), site.baseUrl(), QStringLiteral("--trust-key"), keys[QStringLiteral("b")][1],
                QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port2), QStringLiteral("upgrade"),
                QStringLiteral("--online"), QStringLiteral("9.9-9.9-9.9") });
        QVERIFY2(
            keyOnly.exitCode == 1 && keyOnly.err.contains(QLatin1String("is not signed")), qPrintable(keyOnly.err));
        QVERIFY(QDir(flash).isEmpty());
        sim.kill();
        sim.waitForFinished();

        // The publishing commands' own refusals.
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root }).exitCode, 2);
        QCOMPARE(cli({ QStringLiteral("sign-list"), dir.filePath(QStringLiteral("no-site")),
                         QStringLiteral("--sign-key"), pem(QStringLiteral("b")) })
                     .exitCode,
            1);
        QCOMPARE(cli({ QStringLiteral("sign-list"), site.root, QStringLiteral("--sign-key"), pem(QStringLiteral("b")),
                         QStringLiteral("--expires"), QStringLiteral("soon") })
                     .exitCode,
            2);
        QCOMPARE(cli({ QStringLiteral("sign-keys"), site.root, QStringLiteral("--root-key"),
                         pem(QStringLiteral("root")), QStringLiteral("--add"), QStringLiteral("c2hvcnQ=") })
                     .exitCode,
            2);
        QCOMPARE(cli({ QStringLiteral("sign-keys"), site.root, QStringLiteral("--root-key"),
                         pem(QStringLiteral("root")), QStringLiteral("--remove"), QStringLiteral("0000000000000000") })
                     .exitCode,
            1);
        QCOMPARE(
            cli({ QStringLiteral("--trust-root"), QStringLiteral("c2hvcnQ="), QStringLiteral("releases") }).exitCode,
            2);
        QCOMPARE(cli({ QStringLiteral("serve"), QStringLiteral("--site"), dir.filePath(QStringLiteral("releases")) })
                     .exitCode,
            2);
    }

    // https: the list only from a server whose certificate verifies, with
    // --ca-file for a private authority; nothing sent to the controller otherwise.
    void httpsServersAreVerified()
    {
        TestCertificates certificates;
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            QSKIP("no openssl command to make the certificates with");
        QVERIFY(certificates.make());
        TestHttpServer good(certificates.serverConfiguration(QStringLiteral("good")));
        good.body
            = R"({"data":[{"ver":"1.1-2.5-1.8","upgrade_msg":"over TLS","path":"https://127.0.0.1:1/x.zip","md5file":"0"}]})";
        const QStringList online { QStringLiteral("releases"), QStringLiteral("--online") };
        const Run stranger = runCliServing(QStringList { QStringLiteral("--server"), good.baseUrl() } + online);
        QCOMPARE_EXIT(stranger, 1);
        QVERIFY2(stranger.err.contains(QLatin1String("release list")), qPrintable(stranger.err));
        QVERIFY(good.targets.isEmpty());
        const Run trusted = runCliServing(QStringList { QStringLiteral("--server"), good.baseUrl(),
                                              QStringLiteral("--ca-file"), certificates.pem(QStringLiteral("test-ca")) }
            + online);
        QVERIFY2(trusted.exitCode == 0 && trusted.err.isEmpty(), qPrintable(trusted.err));
        QVERIFY(trusted.out.startsWith(QLatin1String("1.1-2.5-1.8\tover TLS\tunsigned")));
        QCOMPARE(runCli(QStringList { QStringLiteral("--ca-file"), certificates.key(QStringLiteral("good")) } + online)
                     .exitCode,
            2);

        QTemporaryDir dir;
        TestHttpServer expired(certificates.serverConfiguration(QStringLiteral("expired")));
        QProcess sim;
        const quint16 port = startSim(sim, { QStringLiteral("--flash-dir"), dir.filePath(QStringLiteral("flash")) });
        QVERIFY(port);
        const Run r = runCliServing({ QStringLiteral("--device"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
            QStringLiteral("--documents"), dir.filePath(QStringLiteral("documents")), QStringLiteral("--server"),
            expired.baseUrl(), QStringLiteral("--ca-file"), certificates.pem(QStringLiteral("test-ca")),
            QStringLiteral("upgrade"), QStringLiteral("--latest") });
        QCOMPARE_EXIT(r, 1);
        QVERIFY2(r.err.contains(QLatin1String("expired")), qPrintable(r.err));
        QVERIFY(expired.targets.isEmpty());
        QVERIFY(QDir(dir.filePath(QStringLiteral("flash"))).isEmpty());
        sim.kill();
        sim.waitForFinished();
    }

    void gamepadsListsControllersOnePerLine()
    {
        const Run simulated = runCli({ QStringLiteral("--simulate"), QStringLiteral("gamepads") });
        QCOMPARE_EXIT(simulated, 0);
        QCOMPARE(simulated.out, QStringLiteral("Virtual controller\t0\textended\tvirtual\t-\t-\n"));

        // The machine's own controllers: whatever is plugged in, one line each.
        const Run real = runCli({ QStringLiteral("gamepads") });
        QVERIFY2(real.exitCode == 0, qPrintable(real.err));
        const QRegularExpression line(QStringLiteral(
            "^[^\t]*\t\\d+\t(extended|basic|unmapped)\t[^\t]+\t([0-9a-f]{4}:[0-9a-f]{4}|-)\t([0-9a-f]{32}|-)$"));
        for (const QString& l : real.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QVERIFY2(line.match(l).hasMatch(), qPrintable(l));

        // A mapping file that cannot be read is named, and the listing goes on.
        QTemporaryDir config;
        QVERIFY(QDir().mkpath(config.filePath(QStringLiteral("q3dart/gamecontrollerdb.txt"))));
        const Run unreadable
            = runCli({ QStringLiteral("gamepads") }, { QStringLiteral("XDG_CONFIG_HOME=") + config.path() });
        QCOMPARE_EXIT(unreadable, 0);
        QVERIFY2(unreadable.err.contains(QLatin1String("gamecontrollerdb.txt")), qPrintable(unreadable.err));

        // Without SDL the machine's controllers cannot be listed: said so, and a failure.
        const Run noSdl = runCli({ QStringLiteral("gamepads") },
            { QStringLiteral("Q3DART_SDL_LIBRARY=") + config.filePath(QStringLiteral("libSDL2-2.0.so.0")) });
        QCOMPARE_EXIT(noSdl, 1);
        QVERIFY(noSdl.out.isEmpty());
        QVERIFY2(noSdl.err.startsWith(
                     QLatin1String("Game controllers cannot be used: the controller library could not be loaded")),
            qPrintable(noSdl.err));

        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("gamepads"), QStringLiteral("extra") }).exitCode, 2);
        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("keytest"), QStringLiteral("extra") }).exitCode, 2);
    }

    void rumbleRunsTheFirstControllerWithMotors()
    {
        const Run simulated = runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"),
            QStringLiteral("--seconds"), QStringLiteral("0.2") });
        QVERIFY2(simulated.exitCode == 0, qPrintable(simulated.err));
        QCOMPARE(simulated.out, QStringLiteral("Rumbling Virtual controller for 0.2 s\n"));

        // Without a controller that has motors: a clear message, never success.
        const Run listed = runCli({ QStringLiteral("gamepads") });
        if (listed.out.isEmpty()) {
            const Run none = runCli({ QStringLiteral("rumble") });
            QCOMPARE_EXIT(none, 1);
            QVERIFY2(none.err.contains(QLatin1String("No connected game controller has rumble motors")),
                qPrintable(none.err));
        }
        for (const QString& seconds :
            { QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("66"), QStringLiteral("soon") })
            QCOMPARE(
                runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"), QStringLiteral("--seconds"), seconds })
                    .exitCode,
                2);
        QCOMPARE(
            runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"), QStringLiteral("--seconds") }).exitCode,
            2);
    }

    void rumbleRunsEachMotorOnItsOwnAndSetsTheLight()
    {
        const Run low = runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"), QStringLiteral("--low"),
            QStringLiteral("0.5"), QStringLiteral("--seconds"), QStringLiteral("0.1") });
        QCOMPARE_EXIT(low, 0);
        QCOMPARE(low.out, QStringLiteral("Rumbling Virtual controller for 0.1 s: low 0.50\n"));
        const Run triggers = runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"),
            QStringLiteral("--right-trigger"), QStringLiteral("1"), QStringLiteral("--left-trigger"),
            QStringLiteral("0.25"), QStringLiteral("--seconds"), QStringLiteral("0.1") });
        QCOMPARE_EXIT(triggers, 0);
        QCOMPARE(triggers.out,
            QStringLiteral("Rumbling Virtual controller for 0.1 s: left trigger 0.25, right trigger 1.00\n"));
        const Run light = runCli({ QStringLiteral("--simulate"), QStringLiteral("rumble"), QStringLiteral("--light"),
            QStringLiteral("FF8000") });
        QCOMPARE_EXIT(light, 0);
        QCOMPARE(light.out, QStringLiteral("Light of Virtual controller set to #ff8000\n"));
        for (const QStringList& bad : { QStringList { QStringLiteral("--low"), QStringLiteral("1.5") },
                 QStringList { QStringLiteral("--high"), QStringLiteral("-0.1") },
                 QStringList { QStringLiteral("--left-trigger"), QStringLiteral("strong") },
                 QStringList { QStringLiteral("--light"), QStringLiteral("orange") },
                 QStringList { QStringLiteral("--light"), QStringLiteral("#12345") } }) {
            const Run refused = runCli(QStringList { QStringLiteral("--simulate"), QStringLiteral("rumble") } + bad);
            QCOMPARE_EXIT(refused, 2);
            QVERIFY(refused.out.isEmpty());
        }
        // The machine's own controllers: one with trigger motors, or said so.
        const Run listed = runCli({ QStringLiteral("gamepads") });
        if (listed.out.isEmpty()) {
            const Run none
                = runCli({ QStringLiteral("rumble"), QStringLiteral("--left-trigger"), QStringLiteral("1") });
            QCOMPARE_EXIT(none, 1);
            QVERIFY2(none.err.contains(QLatin1String("No connected game controller has trigger motors")),
                qPrintable(none.err));
        }
    }

    void gamepadsPrintsEachMappingLine()
    {
        const Run simulated
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("gamepads"), QStringLiteral("--mapping") });
        QCOMPARE_EXIT(simulated, 0);
        QCOMPARE(simulated.out, QStringLiteral("# Virtual controller (-) has no mapping\n"));
        const Run real = runCli({ QStringLiteral("gamepads"), QStringLiteral("--mapping") });
        QVERIFY2(real.exitCode == 0, qPrintable(real.err));
        const QRegularExpression line(QStringLiteral("^(# .* has no mapping|[0-9a-f]{32},[^,]+,.*)$"));
        for (const QString& l : real.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    }

    // A controller laid down whose gyroscope is off by 0.5 degrees per second
    // and noisy by 0.05: the check's last step finds both.
    void keytestCheckCalibratesTheGyroscopeAtRest()
    {
        QTemporaryDir documents;
        // Lines that do not fit are refused on the way; the rest, the
        // rotations and the triggers end on their clocks.
        QByteArray script = "gyro 1 2\ntouch 9 0 0.5 0.5\ntouch 0 1 0.5 0.5 0.7\nlift 0 1\ntouchpad 0 press\n"
                            "wait 3000\nwait 500\nwait 500\nwait 500\n";
        std::mt19937 random(39);
        std::normal_distribution<double> noise(0.0, 0.05);
        for (int i = 0; i < 2000; ++i)
            script += QStringLiteral("gyro %1 %2 %3\naccel 0 0 9.80665\nwait 5\n")
                          .arg(0.3 + noise(random), 0, 'f', 5)
                          .arg(-0.4 + noise(random), 0, 'f', 5)
                          .arg(noise(random), 0, 'f', 5)
                          .toLatin1();
        const Run r
            = runCliWithInput({ QStringLiteral("--simulate"), QStringLiteral("--documents"), documents.path(),
                                  QStringLiteral("keytest"), QStringLiteral("--check"), QStringLiteral("--json"),
                                  QStringLiteral("--seconds"), QStringLiteral("0.5") },
                script);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QJsonObject report = onlyJsonObject(r.out);
        const QJsonObject calibration = report[QLatin1String("motion")][QLatin1String("calibration")].toObject();
        QVERIFY2(std::abs(calibration[QLatin1String("drift")].toDouble() - 0.5) <= 0.05, qPrintable(r.out));
        QVERIFY2(std::abs(calibration[QLatin1String("noise")].toDouble() - 0.05) <= 0.0125, qPrintable(r.out));
        QCOMPARE(report[QLatin1String("verdicts")][QLatin1String("motion")][QLatin1String("drift")].toString(),
            QStringLiteral("good"));
        QCOMPARE(report[QLatin1String("controller")][QLatin1String("clock")].toString(), QStringLiteral("device"));
        QVERIFY2(r.err.contains(QLatin1String("Lay the controller down")), qPrintable(r.err));
        QVERIFY(
            r.err.contains(QLatin1String("\"gyro 1 2\"")) && r.err.contains(QLatin1String("\"touch 9 0 0.5 0.5\"")));
        QVERIFY(!r.err.contains(QLatin1String("\"touch 0 1")) && !r.err.contains(QLatin1String("\"lift 0 1\"")));
    }

    void keytestWithValuesPrintsPositionsAndTriggerLevels()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(Q3DART_CLI),
            { QStringLiteral("--simulate"), QStringLiteral("keytest"), QStringLiteral("--values") });
        QVERIFY(p.waitForStarted(kPatienceMs));
        p.write("stick left 0.5 -0.25\nstick left 0.5 0\ntrigger right 0.3\ntrigger right 0.3\nset L2 0.6\n"
                "trigger left 0\ntrigger middle 1\n");
        QString out;
        QDeadlineTimer deadline(kPatienceMs);
        while (out.count(QLatin1Char('\n')) < 10 && !deadline.hasExpired())
            if (p.waitForReadyRead(100))
                out += QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            (QStringList { QStringLiteral("connected 0 extended Virtual controller"),
                QStringLiteral("stick left 0.500 -0.250"), QStringLiteral("axis left 0.500 -0.250"),
                QStringLiteral("stick left 0.000 0.250"), QStringLiteral("axis left 0.500 0.000"),
                QStringLiteral("trigger right 0.300"), QStringLiteral("key L2 pressed"),
                QStringLiteral("trigger left 0.600"), QStringLiteral("key L2 released"),
                QStringLiteral("trigger left 0.000") }));
        p.terminate();
        QVERIFY(p.waitForFinished(kPatienceMs));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(p.readAllStandardError().contains("\"trigger middle 1\""), "a trigger that does not exist is refused");
    }

    void keytestCheckGivesTheKnownAnswersOfScriptedShapes()
    {
        const QStringList check { QStringLiteral("--simulate"), QStringLiteral("keytest"), QStringLiteral("--check"),
            QStringLiteral("--json"), QStringLiteral("--stick"), QStringLiteral("left") };
        const QByteArray settle = "stick left 0 0\nwait 600\n";

        // A square gate traced over four turns, after the 3 s rest.
        const Run square = runCliWithInput(check,
            "wait 3000\n" + stickScript("left", testsupport::trace(testsupport::squareOutline, 4, 0.25), 1) + settle);
        QVERIFY2(square.exitCode == 0, qPrintable(square.err));
        const QJsonObject report = onlyJsonObject(square.out);
        const QJsonObject left = report[QLatin1String("sticks")][QLatin1String("left")].toObject();
        const double known = testsupport::squareGateError(64);
        QVERIFY2(std::abs(left[QLatin1String("circularity")].toDouble() - known) <= 0.5,
            qPrintable(QStringLiteral("%1 against %2").arg(left[QLatin1String("circularity")].toDouble()).arg(known)));
        QVERIFY(left[QLatin1String("coverage")].toDouble() >= 90);
        QCOMPARE(left[QLatin1String("short")].toArray().size(), 0);
        QCOMPARE(left[QLatin1String("quadrants")].toArray().size(), 4);
        QVERIFY(std::abs(left[QLatin1String("rate_hz")].toDouble() - 1000.0) < 1.0);
        QCOMPARE(report[QLatin1String("controller")][QLatin1String("name")].toString(),
            QStringLiteral("Virtual controller"));
        QCOMPARE(report[QLatin1String("verdicts")][QLatin1String("left")][QLatin1String("circularity")].toString(),
            QStringLiteral("high"));
        // Only the left stick was asked for: the right one has no range.
        QVERIFY(report[QLatin1String("sticks")][QLatin1String("right")][QLatin1String("circularity")].isNull());
        // The prompts went to standard error, in order.
        const qsizetype rest = square.err.indexOf(QLatin1String("Leave both sticks at rest"));
        const qsizetype rotate = square.err.indexOf(QLatin1String("Rotate the left stick"));
        QVERIFY2(rest >= 0 && rotate > rest && !square.err.contains(QLatin1String("Rotate the right stick")),
            qPrintable(square.err));
        QVERIFY(square.err.contains(QLatin1String("Press both triggers")));

        // A circle squashed to 0.8 up and to the left.
        const Run squashed = runCliWithInput(check,
            "wait 3000\n"
                + stickScript("left", testsupport::trace(testsupport::squashedOutline(1, 0.8), 4, 0.25, 0.125), 1)
                + settle);
        QVERIFY2(squashed.exitCode == 0, qPrintable(squashed.err));
        const QJsonObject squashedLeft
            = onlyJsonObject(squashed.out)[QLatin1String("sticks")][QLatin1String("left")].toObject();
        const QJsonArray quadrants = squashedLeft[QLatin1String("quadrants")].toArray();
        QVERIFY2(std::abs(quadrants[1].toDouble() - 20.0) <= 0.5, qPrintable(QString::number(quadrants[1].toDouble())));
        QVERIFY(quadrants[0].toDouble() <= 0.5 && quadrants[2].toDouble() <= 0.5 && quadrants[3].toDouble() <= 0.5);
        QCOMPARE(squashedLeft[QLatin1String("short")].toArray(),
            (QJsonArray { QStringLiteral("up"), QStringLiteral("up-left"), QStringLiteral("left") }));
    }

    void keytestCheckFindsDriftChatterAndAShortTrigger()
    {
        QTemporaryDir documents;
        // At rest off centre by (0.06, -0.03), wandering 0.01 about it.
        QByteArray script;
        for (int i = 0; i < 300; ++i) {
            const double a = 2 * 3.14159265358979 * i / 300;
            script += QStringLiteral("stick left %1 %2\nwait 10\n")
                          .arg(0.06 + 0.01 * std::cos(a))
                          .arg(-0.03 + 0.01 * std::sin(a))
                          .toLatin1();
        }
        // Nothing is rotated: each rotation ends after its --seconds; then
        // a trigger that stops at 0.7, and A bouncing at 2 ms.
        script += "wait 2000\nwait 2000\n";
        for (int level = 0; level <= 70; ++level)
            script += QStringLiteral("trigger right %1\nwait 5\n").arg(level / 100.0).toLatin1();
        script += "press A\nwait 2\nrelease A\nwait 2\npress A\nwait 2\nrelease A\nwait 100\nwait -5\n";
        const Run r = runCliWithInput(
            { QStringLiteral("--simulate"), QStringLiteral("--documents"), documents.path(), QStringLiteral("keytest"),
                QStringLiteral("--check"), QStringLiteral("--json"), QStringLiteral("--seconds"), QStringLiteral("2") },
            script);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QJsonObject report = onlyJsonObject(r.out);
        const QJsonObject left = report[QLatin1String("sticks")][QLatin1String("left")].toObject();
        QVERIFY2(std::abs(left[QLatin1String("drift")].toDouble() - 0.067) < 0.002, qPrintable(r.out));
        QVERIFY(std::abs(left[QLatin1String("noise")].toDouble() - 0.01) < 0.001);
        QVERIFY(left[QLatin1String("deadzone")].toDouble() >= left[QLatin1String("drift")].toDouble());
        QCOMPARE(report[QLatin1String("verdicts")][QLatin1String("left")][QLatin1String("drift")].toString(),
            QStringLiteral("worn"));
        QVERIFY(left[QLatin1String("circularity")].isNull());
        const QJsonObject right = report[QLatin1String("triggers")][QLatin1String("right")].toObject();
        QVERIFY(std::abs(right[QLatin1String("max")].toDouble() - 0.7) < 1e-6);
        QCOMPARE(right[QLatin1String("levels")].toInt(), 71);
        QCOMPARE(report[QLatin1String("verdicts")][QLatin1String("triggers")][QLatin1String("right")].toString(),
            QStringLiteral("short"));
        QCOMPARE(report[QLatin1String("buttons")][QLatin1String("A")][QLatin1String("presses")].toInt(), 2);
        QVERIFY(report[QLatin1String("buttons")][QLatin1String("A")][QLatin1String("chatter")].toInt() >= 1);
        QCOMPARE(report[QLatin1String("verdicts")][QLatin1String("buttons")][QLatin1String("A")].toString(),
            QStringLiteral("chatter"));
        // Both rotations were asked for and ended on the clock; a bad line is refused and the check goes on.
        QVERIFY2(
            r.err.contains(QLatin1String("Rotate the right stick")) && r.err.contains(QLatin1String("\"wait -5\"")),
            qPrintable(r.err));

        // The report is kept in the documents folder, one file a check.
        const QStringList kept
            = QDir(documents.filePath(QStringLiteral("ControllerChecks"))).entryList({ QStringLiteral("*.json") });
        QCOMPARE(kept.size(), 1);
        QVERIFY(r.err.contains(kept.first()));

        // The text form says the same in words.
        const Run text
            = runCliWithInput({ QStringLiteral("--simulate"), QStringLiteral("keytest"), QStringLiteral("--check") },
                script.left(script.indexOf("wait 2000")));
        QVERIFY2(text.exitCode == 0, qPrintable(text.err));
        QVERIFY2(
            text.out.contains(QLatin1String("Left stick: drift 0.067, noise 0.010, recommended dead zone 0.10 (worn)")),
            qPrintable(text.out));

        // Interrupted half way, the check reports what it measured.
        QProcess interrupted;
        interrupted.start(QStringLiteral(Q3DART_CLI),
            { QStringLiteral("--simulate"), QStringLiteral("keytest"), QStringLiteral("--check"),
                QStringLiteral("--json") });
        QVERIFY(interrupted.waitForStarted(kPatienceMs));
        interrupted.setReadChannel(QProcess::StandardError); // where the prompts go
        interrupted.write(script.left(script.indexOf("wait 2000")));
        QString prompts;
        QDeadlineTimer deadline(kPatienceMs);
        while (!prompts.contains(QLatin1String("Rotate the left stick")) && !deadline.hasExpired())
            if (interrupted.waitForReadyRead(100))
                prompts += QString::fromUtf8(interrupted.readAllStandardError());
        QVERIFY2(prompts.contains(QLatin1String("Rotate the left stick")), qPrintable(prompts));
        ::kill(pid_t(interrupted.processId()), SIGINT);
        QVERIFY(interrupted.waitForFinished(kPatienceMs));
        QCOMPARE(interrupted.exitCode(), 0);
        const QJsonObject halfWay = onlyJsonObject(QString::fromUtf8(interrupted.readAllStandardOutput()));
        QVERIFY(
            std::abs(halfWay[QLatin1String("sticks")][QLatin1String("left")][QLatin1String("drift")].toDouble() - 0.067)
            < 0.002);

        // Usage errors.
        for (const QStringList& bad :
            { QStringList { QStringLiteral("--check"), QStringLiteral("--stick"), QStringLiteral("up") },
                QStringList { QStringLiteral("--check"), QStringLiteral("--seconds"), QStringLiteral("0") },
                QStringList { QStringLiteral("--check"), QStringLiteral("--seconds") },
                QStringList { QStringLiteral("--json") },
                QStringList { QStringLiteral("--check"), QStringLiteral("--values") } })
            QCOMPARE(runCli(QStringList { QStringLiteral("--simulate"), QStringLiteral("keytest") } + bad).exitCode, 2);
    }

    void keytestPrintsEveryEventUntilInterrupted()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("en"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(Q3DART_CLI), { QStringLiteral("--simulate"), QStringLiteral("keytest") });
        QVERIFY(p.waitForStarted(kPatienceMs));
        QString out;
        auto waitForLines = [&](int n) {
            QDeadlineTimer deadline(kPatienceMs);
            while (out.count(QLatin1Char('\n')) < n && !deadline.hasExpired())
                if (p.waitForReadyRead(100))
                    out += QString::fromUtf8(p.readAllStandardOutput());
            return out.count(QLatin1Char('\n')) >= n;
        };
        QVERIFY(waitForLines(1));
        QCOMPARE(out, QStringLiteral("connected 0 extended Virtual controller\n"));

        // A pressure-sensitive A reports every change; the trigger only its
        // flips; the stick its movements; the pad all four directions.
        p.write("press A\nset A 0.7\nrelease A\nset L2 0.6\nset L2 0.9\nrelease L2\n"
                "stick left 0.5 -0.25\nstick left 0.5 0\npress up\nnonsense\nunplug\nplug\n");
        // A line beyond reason is refused whole, and the script goes on.
        p.write(QByteArray(3000, 'x') + "press A\npress B\n");
        QVERIFY2(waitForLines(15), qPrintable(out));
        QCOMPARE(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            (QStringList { QStringLiteral("connected 0 extended Virtual controller"), QStringLiteral("key A pressed"),
                QStringLiteral("key A pressed"), QStringLiteral("key A released"), QStringLiteral("key L2 pressed"),
                QStringLiteral("key L2 released"), QStringLiteral("stick left 0.500 -0.250"),
                QStringLiteral("stick left 0.000 0.250"), QStringLiteral("key Up pressed"),
                QStringLiteral("key Down released"), QStringLiteral("key Left released"),
                QStringLiteral("key Right released"), QStringLiteral("disconnected"),
                QStringLiteral("connected 0 extended Virtual controller"), QStringLiteral("key B pressed") }));
        p.closeWriteChannel(); // the end of the script does not end the test
        QVERIFY(!p.waitForFinished(300));
        p.terminate();
        QVERIFY(p.waitForFinished(kPatienceMs));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(QLatin1String("\"nonsense\"")), qPrintable(err));
        QVERIFY2(err.contains(QLatin1String("longer than")), qPrintable(err));

        // Ctrl+C ends it as cleanly.
        p.start(QStringLiteral(Q3DART_CLI), { QStringLiteral("--simulate"), QStringLiteral("keytest") });
        QVERIFY(p.waitForReadyRead(kPatienceMs));
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(kPatienceMs));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }

    // One parser's conventions: an unknown option named, a value missing,
    // `--` ending the options, a command's own help, the help in every language.
    void theCommandLineNamesWhatItRefuses()
    {
        const Run misspelt = runCli({ QStringLiteral("upgrade"), QStringLiteral("--onlin"), QStringLiteral("1.0") });
        QCOMPARE_EXIT(misspelt, 2);
        QVERIFY2(
            misspelt.err.startsWith(QLatin1String("Usage error: unknown option --onlin\n")), qPrintable(misspelt.err));
        QVERIFY(misspelt.err.contains(QLatin1String("upgrade --help")));
        QVERIFY(misspelt.out.isEmpty());
        const Run global = runCli({ QStringLiteral("--simulat"), QStringLiteral("versions") });
        QCOMPARE_EXIT(global, 2);
        QVERIFY2(global.err.contains(QLatin1String("unknown option --simulat")), qPrintable(global.err));
        const Run missing
            = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"), QStringLiteral("--online") });
        QCOMPARE_EXIT(missing, 2);
        QVERIFY2(missing.err.contains(QLatin1String("--online needs a value")), qPrintable(missing.err));
        const Run switchValue = runCli({ QStringLiteral("history"), QStringLiteral("--json=yes") });
        QCOMPARE_EXIT(switchValue, 2);
        QVERIFY2(switchValue.err.contains(QLatin1String("--json takes no value")), qPrintable(switchValue.err));
        const Run twoSources = runCli({ QStringLiteral("--simulate"), QStringLiteral("upgrade"),
            QStringLiteral("--latest"), QStringLiteral("--online"), QStringLiteral("1.1-2.5-1.8") });
        QCOMPARE_EXIT(twoSources, 2);
        QCOMPARE(
            runCli({ QStringLiteral("releases"), QStringLiteral("--local"), QStringLiteral("--online") }).exitCode, 2);
        // The reason in the language asked for.
        const Run japanese = runCli(
            { QStringLiteral("--lang"), QStringLiteral("ja"), QStringLiteral("upgrade"), QStringLiteral("--onlin") });
        QCOMPARE_EXIT(japanese, 2);
        QVERIFY2(japanese.err.contains(QStringLiteral("不明なオプション --onlin")), qPrintable(japanese.err));

        // `--` ends the options: a file whose name starts with a dash.
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const Run dashed = runCli({ QStringLiteral("keygen"), QStringLiteral("--"), QStringLiteral("-key.pem") });
        QDir::setCurrent(before);
        QVERIFY2(dashed.exitCode == 0, qPrintable(dashed.err));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("-key.pem"))));
        QCOMPARE(runCli({ QStringLiteral("keygen"), dir.filePath(QStringLiteral("a.pem")),
                            dir.filePath(QStringLiteral("b.pem")) })
                     .exitCode,
            2);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("a.pem"))));
    }

    void helpAndVersionInEveryProgramAndLanguage()
    {
        const Run english = runCli({ QStringLiteral("--help") });
        QCOMPARE_EXIT(english, 0);
        for (const char* command : { "versions", "flash", "upgrade", "history", "releases", "import", "serve",
                 "publish", "sign-list", "sign-keys", "keygen", "gamepads", "keytest", "rumble" })
            QVERIFY2(english.out.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(command))), command);
        QVERIFY(english.out.startsWith(QLatin1String("Usage: q3dart-cli [options] COMMAND [arguments]\n")));
        const Run japanese = runCli({ QStringLiteral("--lang"), QStringLiteral("ja"), QStringLiteral("--help") });
        QCOMPARE_EXIT(japanese, 0);
        QVERIFY2(japanese.out.startsWith(QStringLiteral("使い方：q3dart-cli")), qPrintable(japanese.out));
        QVERIFY(japanese.out.contains(QStringLiteral("オプション："))
            && japanese.out.contains(QStringLiteral("コマンド：")));
        QVERIFY(japanese.out.contains(QStringLiteral("シミュレートしたコントローラーを使う")));
        QVERIFY(!japanese.out.contains(QLatin1String("use the simulated controller")));
        const Run chinese = runCli({ QStringLiteral("--help") }, { QStringLiteral("Q3DART_LANGUAGE=zh") });
        QVERIFY2(
            chinese.out.contains(QStringLiteral("选项：")) && chinese.out.contains(QStringLiteral("使用模拟控制器")),
            qPrintable(chinese.out));
        // Wide characters take two columns: no line of the Japanese help runs past the width.
        for (const QString& line : japanese.out.split(QLatin1Char('\n'))) {
            if (!line.startsWith(QLatin1String("                    ")))
                continue; // a name column, which is never broken
            int columns = 0;
            for (const char32_t c : line.toUcs4())
                columns += c >= 0x2E80 ? 2 : 1;
            QVERIFY2(columns <= 80, qPrintable(line));
        }

        // A command's own help: its usage line and its options.
        const Run upgrade = runCli({ QStringLiteral("upgrade"), QStringLiteral("--help") });
        QCOMPARE_EXIT(upgrade, 0);
        QVERIFY(upgrade.out.startsWith(QLatin1String("Usage: q3dart-cli [options] upgrade [--json] [--allow-older]")));
        for (const char* option : { "--json", "--allow-older", "--local VERSION", "--online VERSION", "--latest" })
            QVERIFY2(upgrade.out.contains(QLatin1String(option)), option);

        const Run version = runCli({ QStringLiteral("--version") });
        QCOMPARE_EXIT(version, 0);
        QCOMPARE(version.out, QStringLiteral("q3dart-cli %1\n").arg(QLatin1String(Q3DART_VERSION)));
        QProcess sim;
        sim.start(QStringLiteral(Q3DART_SIM), { QStringLiteral("--version") });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(sim.readAllStandardOutput()),
            QStringLiteral("q3dart-sim %1\n").arg(QLatin1String(Q3DART_VERSION)));
        // The simulator refuses what it cannot use, naming it, before it listens.
        const QString listen = QStringLiteral("127.0.0.1:0");
        for (const auto& [bad, named] :
            { std::pair { QStringList { QStringLiteral("--lisen"), listen }, QStringLiteral("lisen") },
                std::pair { QStringList { QStringLiteral("--listen"), listen, QStringLiteral("--restart-delay"),
                                QStringLiteral("soon") },
                    QStringLiteral("--restart-delay") },
                std::pair { QStringList { QStringLiteral("--listen"), listen, QStringLiteral("extra") },
                    QStringLiteral("extra") },
                // An impostor for a controller that is not there, with versions
                // that are none, or given twice for the same controllers.
                std::pair { QStringList { QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--listen"),
                                listen, QStringLiteral("--impostor"), QStringLiteral("2:1.0-2.2-2.3") },
                    QStringLiteral("--impostor needs B-L-R, or INDEX:B-L-R") },
                std::pair { QStringList { QStringLiteral("--listen"), listen, QStringLiteral("--impostor"),
                                QStringLiteral("0:1.0-2.2") },
                    QStringLiteral("--impostor needs") },
                std::pair { QStringList { QStringLiteral("--listen"), listen, QStringLiteral("--impostor"),
                                QStringLiteral("x:1.0-2.2-2.3") },
                    QStringLiteral("--impostor needs") },
                std::pair { QStringList { QStringLiteral("--listen"), listen, QStringLiteral("--impostor"),
                                QStringLiteral("0:1.0-2.2-2.3"), QStringLiteral("--impostor"),
                                QStringLiteral("0:1.0-2.2-2.4") },
                    QStringLiteral("--impostor names the same controllers twice") } }) {
            sim.start(QStringLiteral(Q3DART_SIM), bad);
            QVERIFY(sim.waitForFinished(kPatienceMs));
            QCOMPARE(sim.exitCode(), 2);
            const QString err = QString::fromUtf8(sim.readAllStandardError());
            QVERIFY2(err.contains(named), qPrintable(err));
            // As q3dart-cli's: the problem, the usage line, where the help is.
            QVERIFY2(err.startsWith(QLatin1String("Usage error: ")), qPrintable(err));
            QVERIFY2(
                err.endsWith(QLatin1String("\nUsage: q3dart-sim [options]\nRun \"q3dart-sim --help\" for help.\n")),
                qPrintable(err));
        }
        // A flash folder that cannot be made, named; in the language asked for.
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString flashDir = dir.filePath(QStringLiteral("file/flash"));
        QProcessEnvironment inJapanese = QProcessEnvironment::systemEnvironment();
        inJapanese.insert(QStringLiteral("Q3DART_LANGUAGE"), QStringLiteral("ja"));
        sim.setProcessEnvironment(inJapanese);
        sim.start(QStringLiteral(Q3DART_SIM),
            { QStringLiteral("--listen"), listen, QStringLiteral("--flash-dir"), flashDir });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 2);
        QString err = QString::fromUtf8(sim.readAllStandardError());
        QVERIFY2(err.startsWith(
                     QStringLiteral("使用方法エラー：--flash-dir %1 を作成できません\n使い方：q3dart-sim [options]\n")
                         .arg(flashDir)),
            qPrintable(err));
        sim.start(QStringLiteral(Q3DART_SIM),
            { QStringLiteral("--listen"), listen, QStringLiteral("--count"), QStringLiteral("65") });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 2);
        err = QString::fromUtf8(sim.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("1 から 64 までのコントローラー数")), qPrintable(err));
        // A port another program holds: the listener's failure, with the system's reason.
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        const QString busy = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
        sim.start(QStringLiteral(Q3DART_SIM), { QStringLiteral("--listen"), busy });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 1);
        err = QString::fromUtf8(sim.readAllStandardError());
        QVERIFY2(err.startsWith(QStringLiteral("q3dart-sim: %1 で待ち受けできません：").arg(busy)), qPrintable(err));
    }

    // Every command's help and every option's description exists in every
    // language: a text missing from a table would print as nothing.
    void everyHelpTextIsThereInEveryLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Chinese") << "zh";
        QTest::newRow("Japanese") << "ja";
    }

    void everyHelpTextIsThereInEveryLanguage()
    {
        QFETCH(QString, language);
        const Run help = runCli({ QStringLiteral("--lang"), language, QStringLiteral("--help") });
        QCOMPARE_EXIT(help, 0);
        // Entries: a name column, then a description beside it or on the next line.
        auto describedEntries = [](const QString& text, QStringList* undescribed) {
            const QStringList lines = text.split(QLatin1Char('\n'));
            QStringList names;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString& line = lines[i];
                if (!line.startsWith(QLatin1String("  ")) || line.at(2) == QLatin1Char(' '))
                    continue;
                const QString name = line.mid(2).section(QLatin1Char(' '), 0, 0);
                names << name;
                const bool beside
                    = line.size() > 20 && line.left(20).endsWith(QLatin1Char(' ')) && !line.mid(20).trimmed().isEmpty();
                const bool below = lines.value(i + 1).startsWith(QString(20, QLatin1Char(' ')));
                if (!beside && !below)
                    *undescribed << name;
            }
            return names;
        };
        QStringList undescribed;
        const QStringList entries = describedEntries(help.out, &undescribed);
        QVERIFY2(undescribed.isEmpty(), qPrintable(undescribed.join(QLatin1Char(' '))));
        QVERIFY2(entries.contains(QLatin1String("--device")) && entries.contains(QLatin1String("keytest")),
            qPrintable(help.out));
        int commands = 0;
        for (const QString& name : entries) {
            if (name.startsWith(QLatin1Char('-')))
                continue;
            ++commands;
            const Run own = runCli({ QStringLiteral("--lang"), language, name, QStringLiteral("--help") });
            QVERIFY2(own.exitCode == 0, qPrintable(name));
            const QStringList paragraphs = own.out.split(QStringLiteral("\n\n"));
            QVERIFY2(paragraphs.size() >= 3 && !paragraphs[1].trimmed().isEmpty(), qPrintable(own.out));
            describedEntries(own.out, &undescribed);
            QVERIFY2(
                undescribed.isEmpty(), qPrintable(name + QLatin1String(": ") + undescribed.join(QLatin1Char(' '))));
        }
        QCOMPARE(commands, 16);
        QVERIFY(!help.out.contains(QLatin1String("\n\n\n")));

        // The simulator's and the application's help come from the same
        // tables and are laid out the same way: no text of Qt's own in them.
        const QHash<QString, QString> showsHelp { { QStringLiteral("en"), QStringLiteral("show this help") },
            { QStringLiteral("zh"), QStringLiteral("显示此帮助") },
            { QStringLiteral("ja"), QStringLiteral("このヘルプを表示する") } };
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("Q3DART_LANGUAGE"), language);
        // Help is text for a terminal: it is printed where no display can be opened.
        for (const char* display : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
            env.remove(QString::fromLatin1(display));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(Q3DART_APP), { QStringLiteral("--version") });
        QVERIFY(program.waitForFinished(kPatienceMs));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardOutput().startsWith("q3dart "));
        for (const auto& [path, arguments, options] :
            { std::tuple { QStringLiteral(Q3DART_SIM), QStringList { QStringLiteral("--help") },
                  QStringList {
                      QStringLiteral("--listen"), QStringLiteral("--impostor"), QStringLiteral("--version") } },
                // --language chooses the help's language as it chooses the screens'.
                std::tuple { QStringLiteral(Q3DART_APP),
                    QStringList { QStringLiteral("--language"), language, QStringLiteral("--help") },
                    QStringList {
                        QStringLiteral("--simulate"), QStringLiteral("--trust-root"), QStringLiteral("-v,") } } }) {
            program.start(path, arguments);
            QVERIFY(program.waitForFinished(kPatienceMs));
            QCOMPARE(program.exitCode(), 0);
            const QString text = QString::fromUtf8(program.readAllStandardOutput());
            const QStringList names = describedEntries(text, &undescribed);
            QVERIFY2(
                undescribed.isEmpty(), qPrintable(path + QLatin1String(": ") + undescribed.join(QLatin1Char(' '))));
            for (const QString& option : options)
                QVERIFY2(names.contains(option), qPrintable(option + QLatin1String(" in ") + text));
            QVERIFY2(
                text.contains(QStringLiteral("  -h, --help        ") + showsHelp.value(language)), qPrintable(text));
            QVERIFY2(!text.contains(QLatin1String("Displays")) && !text.contains(QLatin1String("--help-all")),
                qPrintable(text));
            // The usage line in the words of q3dart-cli's.
            QVERIFY2(text.startsWith(help.out.section(QStringLiteral("q3dart-cli"), 0, 0) + QStringLiteral("q3dart")),
                qPrintable(text));
        }
    }

    // A multi-value option (`--add A B`) reads each value; repeating it does the same.
    void signKeysAddsEveryKeyAfterOneOption()
    {
        QTemporaryDir dir;
        const QString releases = dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(releases));
        QStringList publicKeys;
        for (const QString& name :
            { QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") }) {
            const Run keygen = runCli({ QStringLiteral("keygen"), dir.filePath(name + QStringLiteral(".pem")) });
            QCOMPARE_EXIT(keygen, 0);
            publicKeys << keygen.out.trimmed().split(QLatin1Char('\n')).last();
        }
        const QString site = dir.filePath(QStringLiteral("site"));
        QCOMPARE(runCli({ QStringLiteral("publish"), releases, site, QStringLiteral("--base-url"),
                            QStringLiteral("http://127.0.0.1:1"), QStringLiteral("--sign-key"),
                            dir.filePath(QStringLiteral("a.pem")) })
                     .exitCode,
            0);
        const Run added = runCli({ QStringLiteral("sign-keys"), site, QStringLiteral("--root-key"),
            dir.filePath(QStringLiteral("root.pem")), QStringLiteral("--add"), publicKeys[1], publicKeys[2],
            QStringLiteral("--expires"), QStringLiteral("5"), QStringLiteral("--add"), publicKeys[3] });
        QVERIFY2(added.exitCode == 0, qPrintable(added.err));
        const QJsonArray keys = QJsonDocument::fromJson(readFile(site + QStringLiteral("/firmware/update/keys.json")))
                                    .object()
                                    .value(QStringLiteral("keys"))
                                    .toArray();
        QStringList listed;
        for (const QJsonValue& k : keys)
            listed << k.toObject().value(QStringLiteral("key")).toString();
        QCOMPARE(listed.size(), 3);
        for (int i = 1; i <= 3; ++i)
            QVERIFY2(listed.contains(publicKeys[i]), qPrintable(publicKeys[i]));
    }

    void usageErrorsAndHelp()
    {
        const Run bad = runCli({ QStringLiteral("--device"), QStringLiteral("bluetooth"), QStringLiteral("versions") });
        QCOMPARE_EXIT(bad, 2);
        QVERIFY(bad.err.contains(QLatin1String("bluetooth")));
        QCOMPARE(runCli({}).exitCode, 2);
        QCOMPARE(runCli({ QStringLiteral("frobnicate") }).exitCode, 2);
        for (const QString& limit : { QStringLiteral("--restart-wait"), QStringLiteral("--silence-limit") }) {
            for (const QString& seconds : { QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("soon") }) {
                const Run refused
                    = runCli({ QStringLiteral("--simulate"), limit, seconds, QStringLiteral("versions") });
                QCOMPARE_EXIT(refused, 2);
                QVERIFY2(refused.err.contains(limit), qPrintable(refused.err));
            }
            QCOMPARE(runCli({ QStringLiteral("--simulate"), limit }).exitCode, 2);
        }
        const Run help = runCli({ QStringLiteral("--help") });
        QCOMPARE_EXIT(help, 0);
        QVERIFY(help.out.contains(QLatin1String("versions")));
        QVERIFY(
            help.out.contains(QLatin1String("--restart-wait")) && help.out.contains(QLatin1String("--silence-limit")));

        QProcess sim;
        sim.start(QStringLiteral(Q3DART_SIM), { QStringLiteral("--help") });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(sim.readAllStandardOutput().contains("--listen"));
        sim.start(QStringLiteral(Q3DART_SIM), { QStringLiteral("--listen"), QStringLiteral("nowhere") });
        QVERIFY(sim.waitForFinished(kPatienceMs));
        QCOMPARE(sim.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
