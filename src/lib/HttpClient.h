#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QUrl>

#include <functional>

// The library layer's HTTP client. Every request completes exactly once, on
// the main thread, also when it fails or times out, or when the network
// module (lib/NetworkModule), which carries the requests, cannot be loaded:
// the error then says so and names the file.
class HttpClient {
public:
    struct Response {
        int status = 0; // 0 when no HTTP answer arrived
        QByteArray contentType; // without parameters, lower case
        QByteArray body;
        QString suggestedFileName; // from Content-Disposition, or the URL's last segment
        QString error; // empty on success
        QString filePath; // download: where the body was stored
        bool tooLarge = false; // the answer grew beyond the request's limit
        // download: the destination refused the answer's file name (suggestedFileName)
        bool nameRefused = false;
        // download: the file could not be written (a full disk, say); the error says why
        bool writeFailed = false;
        // The request passed its deadline, or stayed slower than its rate floor.
        bool deadlineExceeded = false;
        bool tooSlow = false;
    };
    // No limit on the size of an answer.
    static constexpr qint64 kUnlimited = -1;
    // What a request may take, in seconds on the main queue's time scale:
    // the longest silence while waiting for data, the whole request (0: no
    // deadline), how long its rate may stay below a floor (0: no floor), and
    // the largest answer, announced or received, beyond which it is refused
    // as soon as it passes the limit.
    struct Limits {
        double silenceSeconds = 20.0;
        double deadlineSeconds = 0.0;
        qint64 minBytesPerSecond = 0;
        double slowSeconds = 0.0;
        qint64 maxBytes = kUnlimited;
    };
    // Chooses a download's file once the response headers are known; an empty
    // path refuses the download.
    using Destination = std::function<QString(const Response& headers)>;
    using Completion = std::function<void(const Response&)>;
    // reply: the parsed JSON when the body is JSON, otherwise undefined.
    using JsonCompletion = std::function<void(const Response& response, const QJsonValue& reply)>;

    // A GET; the timeout is the longest silence allowed while waiting for data.
    // An answer larger than maxBytes (announced or received) ends the request
    // with an error and tooLarge set; nothing of it is kept.
    static void get(const QUrl& url, double timeoutSeconds, Completion completion, qint64 maxBytes = kUnlimited);
    static void get(const QUrl& url, const Limits& limits, Completion completion);
    // A GET whose answer must be JSON: a status outside 200-299 or a content
    // type other than application/json, text/json or text/javascript is an error.
    static void getJSON(
        const QUrl& url, double timeoutSeconds, JsonCompletion completion, qint64 maxBytes = kUnlimited);
    static void getJSON(const QUrl& url, const Limits& limits, JsonCompletion completion);
    // Ends a download early: it completes with an error and leaves no file.
    // Calling it after the download completed does nothing.
    using Abort = std::function<void()>;
    // A GET streamed into a file, which is written whole or not at all: a file
    // already there keeps its contents until the new one is complete. The
    // body stays empty.
    static Abort download(const QUrl& url, const QString& filePath, double timeoutSeconds, Completion completion,
        std::function<void(qint64 received, qint64 total)> progress = nullptr, qint64 maxBytes = kUnlimited);
    static Abort download(const QUrl& url, Destination destination, double timeoutSeconds, Completion completion,
        std::function<void(qint64 received, qint64 total)> progress = nullptr, qint64 maxBytes = kUnlimited);
    static Abort download(const QUrl& url, Destination destination, const Limits& limits, Completion completion,
        std::function<void(qint64 received, qint64 total)> progress = nullptr);

    static bool isJsonContentType(const QByteArray& contentType);

    // Trusts the PEM certificates of file as certificate authorities for
    // https, beside the system's own, for every later request; false with
    // *error set when the file holds none. Certificates and host names are
    // always verified: no request ignores a TLS error. Loads the network module.
    static bool addCaCertificates(const QString& file, QString* error = nullptr);
};
