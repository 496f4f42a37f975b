#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// What the network module does for the application: HTTP requests (TLS,
// proxies, redirects) and small HTTP servers. Qt's network stack and its
// libraries are the module's alone, loaded on the first request rather than
// with every start (lib/NetworkModule); the command-line tools and the tests
// have the same code linked in. Inline and without Q_OBJECT on purpose: the
// module then needs no symbol of the application, and shares none of its state.

// One GET in flight.
class HttpTransfer {
public:
    // Called on the main thread, finished once (also for a failure or an
    // abort, possibly from inside another event); the backend deletes the
    // transfer on a later turn of the event loop.
    struct Events {
        std::function<void()> headersReceived;
        std::function<void()> readyRead;
        std::function<void(qint64 received, qint64 total)> progress;
        std::function<void()> finished;
    };

    virtual ~HttpTransfer() = default;

    // 0 while no HTTP answer has come.
    virtual int status() const = 0;
    virtual QByteArray rawHeader(const QByteArray& name) const = 0;
    // Where the answer came from, after any redirect.
    virtual QUrl url() const = 0;
    // Empty while nothing failed.
    virtual QString errorString() const = 0;
    virtual QByteArray readAll() = 0;
    // False once aborted: nothing more to read.
    virtual bool isOpen() const = 0;
    virtual void abort() = 0;
};

// A small HTTP server on one address, every request answered by one handler
// on the main thread.
class HttpServing {
public:
    struct Request {
        QUrl url;
        QByteArray host; // the Host header, empty when none
    };
    struct Answer {
        int status = 200;
        QByteArray contentType; // empty: no body
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;

        static Answer withStatus(int status)
        {
            Answer answer;
            answer.status = status;
            return answer;
        }
    };
    static constexpr int kNotFound = 404;
    using Handler = std::function<Answer(const Request&)>;

    virtual ~HttpServing() = default;
    // The port listened on (port 0: any free one), or 0 when listening failed.
    virtual quint16 listen(const QString& address, quint16 port) = 0;
    // The system's reason the last listen failed.
    virtual QString errorString() const = 0;
};

class NetworkBackend {
public:
    virtual ~NetworkBackend() = default;

    // Starts a GET that follows at most five redirects, each as safe as the
    // request (never from https to http); a silence longer than timeoutMs
    // ends it with an error. The network thread reads only a little ahead of
    // the events. Owned by the backend.
    virtual HttpTransfer* get(const QUrl& url, int timeoutMs, HttpTransfer::Events events) = 0;
    // Trusts the PEM certificates of file, beside the system's own, for every
    // later request; false when it holds none.
    virtual bool addCaCertificates(const QString& file) = 0;
    virtual std::unique_ptr<HttpServing> createServer(HttpServing::Handler handler) = 0;
};

// The module's one entry point; the program's own when the backend is linked
// in. The version in its name refuses a module built against another shape
// of this interface instead of misusing it.
using NetworkBackendEntry = NetworkBackend* (*)();
#define Q3DART_NETWORK_BACKEND_ENTRY q3dart_network_backend_v1
#define Q3DART_NETWORK_BACKEND_ENTRY_NAME "q3dart_network_backend_v1"
