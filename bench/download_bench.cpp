// Peak resident memory of q3dart-cli while it refuses an answer that never
// ends: the release list (no key trusted, limit 1 MiB) and a release archive
// (--max-download-mib 1), each from a local server that sends as fast as the
// client reads; beside the same program's peak when it asks nothing of the
// network (its floor). Prints "name: KiB" lines for bench/run.
#include <QByteArray>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Answers every request on its own thread: the list names one release whose
// archive, like any other path, never ends.
class EndlessServer : public QObject {
public:
    quint16 start()
    {
        m_server->listen(QHostAddress::LocalHost, 0);
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server->nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
        return m_server->serverPort();
    }

private:
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
            return;
        socket->setProperty("answered", true);
        const bool finiteList = request.startsWith("GET /firmware/update/r1") && m_finiteList;
        if (finiteList) {
            const QByteArray body = "{\"data\":[{\"ver\":\"9.9-9.9-9.9\",\"path\":\"http://127.0.0.1:"
                + QByteArray::number(m_server->serverPort()) + "/endless.zip\",\"md5file\":\"00\"}]}";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
            return;
        }
        const QByteArray type = request.startsWith("GET /firmware") ? "application/json" : "application/zip";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\n\r\n");
        const QByteArray chunk(256 * 1024, ' ');
        socket->write(chunk);
        connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
            if (socket->bytesToWrite() < chunk.size())
                socket->write(chunk);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

public:
    bool m_finiteList = false;

private:
    QTcpServer* m_server = new QTcpServer(this);
};

// Runs the program to its end; its peak resident memory in KiB, or -1.
long peakKib(const std::vector<std::string>& args)
{
    // What this process printed is out before the child, whose stdout is a copy, can print it again.
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return -1;
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--tools"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: download_bench --tools DIR [--runs N]\n");
        return 2;
    }
    const std::string cli = (args.at(at + 1) + QStringLiteral("/q3dart-cli")).toStdString();
    const qsizetype runsAt = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt >= 0 && runsAt + 1 < args.size() ? args.at(runsAt + 1).toInt() : 3;
    QTemporaryDir documents;

    // The servers answer on a thread of their own while this one waits for
    // each child; they are made and ended there.
    QThread thread;
    thread.start();
    EndlessServer* listServer = nullptr;
    EndlessServer* archiveServer = nullptr;
    quint16 listPort = 0;
    quint16 archivePort = 0;
    QObject context;
    context.moveToThread(&thread);
    QMetaObject::invokeMethod(
        &context,
        [&] {
            listServer = new EndlessServer;
            archiveServer = new EndlessServer;
            archiveServer->m_finiteList = true;
            listPort = listServer->start();
            archivePort = archiveServer->start();
        },
        Qt::BlockingQueuedConnection);
    const std::string docs = documents.path().toStdString();
    for (int i = 0; i < runs; ++i) {
        std::printf("idle-peak-rss-kib: %ld\n", peakKib({ cli, "--documents", docs, "releases", "--local" }));
        std::printf("endless-list-peak-rss-kib: %ld\n",
            peakKib({ cli, "--documents", docs, "--server", "http://127.0.0.1:" + std::to_string(listPort), "releases",
                "--online" }));
        std::printf("endless-archive-peak-rss-kib: %ld\n",
            peakKib(
                { cli, "--simulate", "--documents", docs, "--server", "http://127.0.0.1:" + std::to_string(archivePort),
                    "--max-download-mib", "1", "upgrade", "--online", "9.9-9.9-9.9" }));
        std::fflush(stdout);
    }
    QMetaObject::invokeMethod(
        &context,
        [&] {
            delete listServer;
            delete archiveServer;
        },
        Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    return 0;
}
