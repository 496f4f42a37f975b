#include "lib/HttpClient.h"

#include "lib/NetworkBackend.h"
#include "lib/NetworkModule.h"
#include "lib/WriteFailure.h"
#include "platform/runtime/MainQueue.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <memory>
#include <optional>

namespace {

QString fileNameFromDisposition(const QByteArray& header)
{
    // filename="name" or filename=name; only the last path segment is kept.
    static const QRegularExpression re(
        QStringLiteral("filename\\s*=\\s*\"?([^\";]+)\"?"), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(QString::fromUtf8(header));
    if (!m.hasMatch())
        return QString();
    return QFileInfo(m.captured(1).trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
}

HttpClient::Response describe(const HttpTransfer& transfer)
{
    HttpClient::Response r;
    r.status = transfer.status();
    r.contentType = transfer.rawHeader("Content-Type").split(';').first().trimmed().toLower();
    r.suggestedFileName = fileNameFromDisposition(transfer.rawHeader("Content-Disposition"));
    if (r.suggestedFileName.isEmpty())
        r.suggestedFileName = transfer.url().fileName();
    r.error = transfer.errorString();
    return r;
}

// Starts a GET through the network module; when it cannot be loaded, nullptr,
// and the completion hears why on a later turn (never from inside the call).
HttpTransfer* startGet(
    const QUrl& url, double timeoutSeconds, HttpTransfer::Events events, const HttpClient::Completion& completion)
{
    QString unavailable;
    NetworkBackend* backend = NetworkModule::backend(&unavailable);
    if (!backend) {
        MainQueue::dispatchAsync([completion, unavailable] {
            HttpClient::Response r;
            r.error = unavailable;
            if (completion)
                completion(r);
        });
        return nullptr;
    }
    return backend->get(url, std::max(1, MainQueue::scaledMilliseconds(timeoutSeconds)), std::move(events));
}

// Whether the answer is announced, or grows, beyond maxBytes.
bool exceeds(const HttpTransfer& transfer, qint64 received, qint64 maxBytes)
{
    if (maxBytes < 0)
        return false;
    bool announced = false;
    const qint64 length = transfer.rawHeader("Content-Length").trimmed().toLongLong(&announced);
    return received > maxBytes || (announced && length > maxBytes);
}

// A redirect's own answer: the request goes on to where it points.
bool isRedirect(const HttpTransfer& transfer)
{
    const int status = transfer.status();
    return status >= 300 && status <= 399 && !transfer.rawHeader("Location").isEmpty();
}

QString writeFailure(const QSaveFile& file, int systemError)
{
    return QStringLiteral("cannot write %1: %2").arg(file.fileName(), WriteFailure::reason(file, systemError));
}

QString tooLargeText(qint64 maxBytes)
{
    return QStringLiteral("the answer is larger than %1 bytes").arg(maxBytes);
}

// The request's deadline and rate floor, beside the backend's silence limit:
// a server that trickles a byte now and then is never silent, and would
// otherwise hold a request for ever.
class RequestWatch {
public:
    enum class Stop { Deadline, TooSlow };

    RequestWatch(const HttpClient::Limits& limits, std::function<void(Stop)> stop)
        : m_limits(limits)
        , m_stop(std::move(stop))
    {
        if (m_limits.deadlineSeconds > 0)
            m_deadline = Timer::scheduledTimer(m_limits.deadlineSeconds, false, [this] { end(Stop::Deadline); });
        if (m_limits.minBytesPerSecond > 0 && m_limits.slowSeconds > 0) {
            // The rate over the last slowSeconds, measured in steps of a
            // second at most: a burst long ago does not make up for a trickle now.
            m_steps = std::max(1, int(std::ceil(m_limits.slowSeconds)));
            const double step = m_limits.slowSeconds / m_steps;
            m_samples.append(0);
            m_rate = Timer::scheduledTimer(step, true, [this] { sample(); });
        }
    }
    ~RequestWatch() { finish(); }

    void received(qint64 total) { m_received = total; }
    void finish()
    {
        for (std::shared_ptr<Timer>* timer : { &m_deadline, &m_rate }) {
            if (*timer)
                (*timer)->invalidate();
            timer->reset();
        }
    }

private:
    void sample()
    {
        // m_steps + 1 samples span the whole of slowSeconds.
        m_samples.append(m_received);
        if (m_samples.size() > m_steps + 1)
            m_samples.removeFirst();
        if (m_samples.size() < m_steps + 1)
            return;
        const double floor = double(m_limits.minBytesPerSecond) * m_limits.slowSeconds;
        if (double(m_samples.last() - m_samples.first()) < floor)
            end(Stop::TooSlow);
    }
    void end(Stop why)
    {
        finish();
        if (m_stop)
            m_stop(why);
    }

    HttpClient::Limits m_limits;
    std::function<void(Stop)> m_stop;
    std::shared_ptr<Timer> m_deadline, m_rate;
    QList<qint64> m_samples;
    int m_steps = 0;
    qint64 m_received = 0;
};

// A watch for the request of state, which holds its request weakly: the
// request owns it.
template <typename State>
std::unique_ptr<RequestWatch> watchFor(const std::shared_ptr<State>& state, const HttpClient::Limits& limits)
{
    const std::weak_ptr<State> weak = state;
    return std::make_unique<RequestWatch>(limits, [weak](RequestWatch::Stop why) {
        const std::shared_ptr<State> state = weak.lock();
        if (!state || state->finished)
            return;
        state->stopped = why;
        state->transfer->abort();
    });
}

QString stopText(RequestWatch::Stop why, const HttpClient::Limits& limits)
{
    return why == RequestWatch::Stop::Deadline
        ? QStringLiteral("no complete answer within %1 s").arg(limits.deadlineSeconds)
        : QStringLiteral("slower than %1 bytes per second for %2 s")
              .arg(limits.minBytesPerSecond)
              .arg(limits.slowSeconds);
}

HttpClient::Limits limitsOf(double timeoutSeconds, qint64 maxBytes)
{
    HttpClient::Limits limits;
    limits.silenceSeconds = timeoutSeconds;
    limits.maxBytes = maxBytes;
    return limits;
}

} // namespace

bool HttpClient::isJsonContentType(const QByteArray& contentType)
{
    return contentType == "application/json" || contentType == "text/json" || contentType == "text/javascript";
}

bool HttpClient::addCaCertificates(const QString& file, QString* error)
{
    QString unavailable;
    NetworkBackend* backend = NetworkModule::backend(&unavailable);
    if (backend && backend->addCaCertificates(file))
        return true;
    if (error)
        *error = backend ? QStringLiteral("no PEM certificate in %1").arg(file) : unavailable;
    return false;
}

void HttpClient::get(const QUrl& url, double timeoutSeconds, Completion completion, qint64 maxBytes)
{
    get(url, limitsOf(timeoutSeconds, maxBytes), std::move(completion));
}

void HttpClient::get(const QUrl& url, const Limits& limits, Completion completion)
{
    // The body is taken as it arrives, so that the network thread's buffer
    // stays small and an answer is refused as soon as it passes the limit.
    struct State {
        HttpTransfer* transfer = nullptr;
        QByteArray body;
        bool finished = false;
        bool tooLarge = false;
        std::optional<RequestWatch::Stop> stopped;
        std::unique_ptr<RequestWatch> watch;
    };
    auto state = std::make_shared<State>();
    const qint64 maxBytes = limits.maxBytes;
    auto take = [state, maxBytes] {
        HttpTransfer& transfer = *state->transfer;
        if (!transfer.isOpen() || state->tooLarge || state->stopped)
            return;
        if (exceeds(transfer, 0, maxBytes) && !isRedirect(transfer)) {
            state->tooLarge = true;
            transfer.abort();
            return;
        }
        const QByteArray chunk = transfer.readAll();
        if (isRedirect(transfer))
            return; // the redirect's own body is not the answer
        if (maxBytes >= 0 && state->body.size() + chunk.size() > maxBytes) {
            state->tooLarge = true;
            state->body.clear();
            transfer.abort();
            return;
        }
        state->body += chunk;
        if (state->watch)
            state->watch->received(state->body.size());
    };
    HttpTransfer::Events events;
    events.headersReceived = take;
    events.readyRead = take;
    events.finished = [state, limits, completion, take] {
        take();
        state->finished = true;
        if (state->watch)
            state->watch->finish();
        Response r = describe(*state->transfer);
        if (state->tooLarge) {
            r.tooLarge = true;
            r.error = tooLargeText(limits.maxBytes);
        } else if (state->stopped) {
            r.deadlineExceeded = *state->stopped == RequestWatch::Stop::Deadline;
            r.tooSlow = *state->stopped == RequestWatch::Stop::TooSlow;
            r.error = stopText(*state->stopped, limits);
        } else {
            r.body = std::move(state->body);
        }
        if (completion)
            completion(r);
    };
    state->transfer = startGet(url, limits.silenceSeconds, std::move(events), completion);
    if (state->transfer)
        state->watch = watchFor(state, limits);
}

void HttpClient::getJSON(const QUrl& url, double timeoutSeconds, JsonCompletion completion, qint64 maxBytes)
{
    getJSON(url, limitsOf(timeoutSeconds, maxBytes), std::move(completion));
}

void HttpClient::getJSON(const QUrl& url, const Limits& limits, JsonCompletion completion)
{
    get(url, limits, [completion = std::move(completion)](const Response& response) {
        Response r = response;
        QJsonValue parsed(QJsonValue::Undefined);
        if (r.error.isEmpty() && (r.status < 200 || r.status > 299))
            r.error = QStringLiteral("HTTP status %1").arg(r.status);
        if (r.error.isEmpty() && !isJsonContentType(r.contentType))
            r.error = QStringLiteral("unexpected content type \"%1\"").arg(QString::fromLatin1(r.contentType));
        if (r.error.isEmpty()) {
            QJsonParseError parseError;
            const QJsonDocument doc = QJsonDocument::fromJson(r.body, &parseError);
            if (parseError.error == QJsonParseError::NoError)
                parsed = doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array());
        }
        if (completion)
            completion(r, parsed);
    });
}

HttpClient::Abort HttpClient::download(const QUrl& url, const QString& filePath, double timeoutSeconds,
    Completion completion, std::function<void(qint64, qint64)> progress, qint64 maxBytes)
{
    return download(
        url, [filePath](const Response&) { return filePath; }, timeoutSeconds, std::move(completion),
        std::move(progress), maxBytes);
}

HttpClient::Abort HttpClient::download(const QUrl& url, Destination destination, double timeoutSeconds,
    Completion completion, std::function<void(qint64, qint64)> progress, qint64 maxBytes)
{
    return download(
        url, std::move(destination), limitsOf(timeoutSeconds, maxBytes), std::move(completion), std::move(progress));
}

HttpClient::Abort HttpClient::download(const QUrl& url, Destination destination, const Limits& limits,
    Completion completion, std::function<void(qint64, qint64)> progress)
{
    struct State {
        HttpTransfer* transfer = nullptr;
        std::unique_ptr<QSaveFile> file;
        std::unique_ptr<RequestWatch> watch;
        QString path;
        QString error;
        bool decided = false;
        bool finished = false;
        bool tooLarge = false;
        bool nameRefused = false;
        bool writeFailed = false;
        std::optional<RequestWatch::Stop> stopped;
        qint64 received = 0;
    };
    auto state = std::make_shared<State>();
    const qint64 maxBytes = limits.maxBytes;
    // The file is chosen once the final answer's headers are known (a
    // redirect's own headers are not), and only for a good answer.
    auto decide = [state, destination, maxBytes] {
        HttpTransfer& transfer = *state->transfer;
        if (state->decided || transfer.status() == 0 || isRedirect(transfer))
            return;
        state->decided = true;
        const Response headers = describe(transfer);
        if (headers.status < 200 || headers.status > 299)
            return;
        if (exceeds(transfer, 0, maxBytes)) {
            state->tooLarge = true;
            state->error = tooLargeText(maxBytes);
            transfer.abort();
            return;
        }
        state->path = destination ? destination(headers) : QString();
        if (state->path.isEmpty()) {
            state->error = QStringLiteral("the download has no usable file name");
            state->nameRefused = true;
            transfer.abort();
            return;
        }
        state->file = std::make_unique<QSaveFile>(state->path);
        errno = 0;
        if (!state->file->open(QIODevice::WriteOnly)) {
            state->error = writeFailure(*state->file, errno);
            state->writeFailed = true;
            transfer.abort();
        }
    };
    // Each piece goes to the file as it arrives: nothing of the answer is
    // held in memory beyond the network thread's small buffer.
    auto take = [state, maxBytes] {
        HttpTransfer& transfer = *state->transfer;
        if (!transfer.isOpen() || !state->error.isEmpty())
            return; // aborted: nothing more to read
        const QByteArray chunk = transfer.readAll();
        if (!state->file)
            return; // a redirect's or an error's body
        state->received += chunk.size();
        if (state->watch)
            state->watch->received(state->received);
        if (exceeds(transfer, state->received, maxBytes)) {
            state->tooLarge = true;
            state->error = tooLargeText(maxBytes);
            transfer.abort();
            return;
        }
        errno = 0;
        if (state->file->write(chunk) != chunk.size()) {
            state->error = writeFailure(*state->file, errno);
            state->writeFailed = true;
            transfer.abort();
        }
    };
    HttpTransfer::Events events;
    events.headersReceived = decide;
    events.readyRead = [decide, take] {
        decide();
        take();
    };
    // Progress stops with the first failure: a refused answer is not shown
    // as one that arrived whole.
    events.progress = [state, progress](qint64 received, qint64 total) {
        if (progress && state->error.isEmpty() && !state->stopped && state->file)
            progress(received, total);
    };
    events.finished = [state, decide, take, limits, completion] {
        decide();
        take();
        state->finished = true;
        if (state->watch)
            state->watch->finish();
        Response r = describe(*state->transfer);
        if (state->stopped && state->error.isEmpty())
            state->error = stopText(*state->stopped, limits);
        if (!state->error.isEmpty())
            r.error = state->error;
        r.tooLarge = state->tooLarge;
        r.nameRefused = state->nameRefused;
        r.writeFailed = state->writeFailed;
        r.deadlineExceeded = state->stopped == RequestWatch::Stop::Deadline;
        r.tooSlow = state->stopped == RequestWatch::Stop::TooSlow;
        if (r.error.isEmpty() && (r.status < 200 || r.status > 299))
            r.error = QStringLiteral("HTTP status %1").arg(r.status);
        if (r.error.isEmpty() && !state->file)
            r.error = QStringLiteral("nothing was downloaded");
        // A full disk may only show when the buffered bytes reach it: the
        // flush is checked before the file takes its place.
        errno = 0;
        if (r.error.isEmpty() && (!state->file->flush() || !state->file->commit())) {
            r.error = writeFailure(*state->file, errno);
            r.writeFailed = true;
        }
        if (r.error.isEmpty())
            r.filePath = state->path;
        else if (state->file)
            state->file->cancelWriting(); // whatever lay there stays as it was
        state->file.reset();
        if (completion)
            completion(r);
    };
    state->transfer = startGet(url, limits.silenceSeconds, std::move(events), completion);
    if (!state->transfer)
        state->finished = true;
    else
        state->watch = watchFor(state, limits);
    return [state] {
        if (state->finished)
            return;
        state->error = QStringLiteral("the download was cancelled");
        state->transfer->abort();
    };
}
