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

#include <cerrno>
#include <memory>

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

QString writeFailure(const QSaveFile& file, int systemError)
{
    return QStringLiteral("cannot write %1: %2").arg(file.fileName(), WriteFailure::reason(file, systemError));
}

QString tooLargeText(qint64 maxBytes)
{
    return QStringLiteral("the answer is larger than %1 bytes").arg(maxBytes);
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
    struct State {
        HttpTransfer* transfer = nullptr;
        bool tooLarge = false;
    };
    auto state = std::make_shared<State>();
    auto check = [state, maxBytes](qint64 received) {
        if (!state->tooLarge && exceeds(*state->transfer, received, maxBytes)) {
            state->tooLarge = true;
            state->transfer->abort();
        }
    };
    HttpTransfer::Events events;
    events.headersReceived = [check] { check(0); };
    events.progress = [check](qint64 received, qint64) { check(received); };
    events.finished = [state, maxBytes, completion] {
        Response r = describe(*state->transfer);
        if (state->tooLarge) {
            r.tooLarge = true;
            r.error = tooLargeText(maxBytes);
        } else {
            r.body = state->transfer->readAll();
        }
        if (completion)
            completion(r);
    };
    state->transfer = startGet(url, timeoutSeconds, std::move(events), completion);
}

void HttpClient::getJSON(const QUrl& url, double timeoutSeconds, JsonCompletion completion, qint64 maxBytes)
{
    get(
        url, timeoutSeconds,
        [completion = std::move(completion)](const Response& response) {
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
        },
        maxBytes);
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
    struct State {
        HttpTransfer* transfer = nullptr;
        std::unique_ptr<QSaveFile> file;
        QString path;
        QString error;
        bool decided = false;
        bool finished = false;
        bool tooLarge = false;
        bool nameRefused = false;
        bool writeFailed = false;
        qint64 received = 0;
    };
    auto state = std::make_shared<State>();
    // The file is chosen once the headers are known, and only for a good answer.
    auto decide = [state, destination, maxBytes] {
        if (state->decided)
            return;
        state->decided = true;
        HttpTransfer& transfer = *state->transfer;
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
        if (!state->file->open(QIODevice::WriteOnly)) {
            state->error = QStringLiteral("cannot write %1: %2").arg(state->path, state->file->errorString());
            state->writeFailed = true;
            transfer.abort();
        }
    };
    auto take = [state, maxBytes] {
        HttpTransfer& transfer = *state->transfer;
        if (!transfer.isOpen())
            return; // aborted: nothing more to read
        const QByteArray chunk = transfer.readAll();
        state->received += chunk.size();
        if (state->error.isEmpty() && exceeds(transfer, state->received, maxBytes)) {
            state->tooLarge = true;
            state->error = tooLargeText(maxBytes);
            transfer.abort();
            return;
        }
        errno = 0;
        if (state->file && state->error.isEmpty() && state->file->write(chunk) != chunk.size()) {
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
    events.progress = progress;
    events.finished = [state, decide, take, completion] {
        decide();
        take();
        state->finished = true;
        Response r = describe(*state->transfer);
        if (!state->error.isEmpty())
            r.error = state->error;
        r.tooLarge = state->tooLarge;
        r.nameRefused = state->nameRefused;
        r.writeFailed = state->writeFailed;
        if (r.error.isEmpty() && (r.status < 200 || r.status > 299))
            r.error = QStringLiteral("HTTP status %1").arg(r.status);
        if (r.error.isEmpty() && !state->file)
            r.error = QStringLiteral("nothing was downloaded");
        errno = 0;
        if (r.error.isEmpty() && !state->file->commit()) {
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
    state->transfer = startGet(url, timeoutSeconds, std::move(events), completion);
    if (!state->transfer)
        state->finished = true;
    return [state] {
        if (state->finished)
            return;
        state->error = QStringLiteral("the download was cancelled");
        state->transfer->abort();
    };
}
