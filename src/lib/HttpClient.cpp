#include "lib/HttpClient.h"

#include "lib/WriteFailure.h"
#include "platform/runtime/MainQueue.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslConfiguration>

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

HttpClient::Response describe(QNetworkReply* reply)
{
    HttpClient::Response r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.contentType
        = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray().split(';').first().trimmed().toLower();
    r.suggestedFileName = fileNameFromDisposition(reply->rawHeader("Content-Disposition"));
    if (r.suggestedFileName.isEmpty())
        r.suggestedFileName = reply->url().fileName();
    if (reply->error() != QNetworkReply::NoError)
        r.error = reply->errorString();
    return r;
}

QNetworkReply* startGet(QNetworkAccessManager& network, const QUrl& url, double timeoutSeconds)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(std::max(1, MainQueue::scaledMilliseconds(timeoutSeconds)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    return network.get(request);
}

// Ends a reply whose answer is announced, or grows, beyond maxBytes; whether it did.
bool exceeds(QNetworkReply* reply, qint64 received, qint64 maxBytes)
{
    if (maxBytes < 0)
        return false;
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    return received > maxBytes || (announced.isValid() && announced.toLongLong() > maxBytes);
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

QNetworkAccessManager& HttpClient::network()
{
    static QNetworkAccessManager* manager = new QNetworkAccessManager(QCoreApplication::instance());
    return *manager;
}

bool HttpClient::isJsonContentType(const QByteArray& contentType)
{
    return contentType == "application/json" || contentType == "text/json" || contentType == "text/javascript";
}

bool HttpClient::addCaCertificates(const QString& file, QString* error)
{
    const QList<QSslCertificate> certificates
        = QSslCertificate::fromPath(file, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    if (certificates.isEmpty()) {
        if (error)
            *error = QStringLiteral("no PEM certificate in %1").arg(file);
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificates);
    QSslConfiguration::setDefaultConfiguration(configuration);
    return true;
}

void HttpClient::get(const QUrl& url, double timeoutSeconds, Completion completion, qint64 maxBytes)
{
    QNetworkReply* reply = startGet(network(), url, timeoutSeconds);
    auto tooLarge = std::make_shared<bool>(false);
    auto check = [reply, tooLarge, maxBytes](qint64 received) {
        if (!*tooLarge && exceeds(reply, received, maxBytes)) {
            *tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [check] { check(0); });
    QObject::connect(
        reply, &QNetworkReply::downloadProgress, reply, [check](qint64 received, qint64) { check(received); });
    QObject::connect(
        reply, &QNetworkReply::finished, reply, [reply, tooLarge, maxBytes, completion = std::move(completion)] {
            Response r = describe(reply);
            if (*tooLarge) {
                r.tooLarge = true;
                r.error = tooLargeText(maxBytes);
            } else {
                r.body = reply->readAll();
            }
            reply->deleteLater();
            if (completion)
                completion(r);
        });
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
        std::unique_ptr<QSaveFile> file;
        QString path;
        QString error;
        bool decided = false;
        bool tooLarge = false;
        bool nameRefused = false;
        bool writeFailed = false;
        qint64 received = 0;
    };
    auto state = std::make_shared<State>();
    QNetworkReply* reply = startGet(network(), url, timeoutSeconds);
    // The file is chosen once the headers are known, and only for a good answer.
    auto decide = [reply, state, destination, maxBytes] {
        if (state->decided)
            return;
        state->decided = true;
        const Response headers = describe(reply);
        if (headers.status < 200 || headers.status > 299)
            return;
        if (exceeds(reply, 0, maxBytes)) {
            state->tooLarge = true;
            state->error = tooLargeText(maxBytes);
            reply->abort();
            return;
        }
        state->path = destination ? destination(headers) : QString();
        if (state->path.isEmpty()) {
            state->error = QStringLiteral("the download has no usable file name");
            state->nameRefused = true;
            reply->abort();
            return;
        }
        state->file = std::make_unique<QSaveFile>(state->path);
        if (!state->file->open(QIODevice::WriteOnly)) {
            state->error = QStringLiteral("cannot write %1: %2").arg(state->path, state->file->errorString());
            state->writeFailed = true;
            reply->abort();
        }
    };
    auto take = [reply, state, maxBytes] {
        if (!reply->isOpen())
            return; // aborted: nothing more to read
        const QByteArray chunk = reply->readAll();
        state->received += chunk.size();
        if (state->error.isEmpty() && exceeds(reply, state->received, maxBytes)) {
            state->tooLarge = true;
            state->error = tooLargeText(maxBytes);
            reply->abort();
            return;
        }
        errno = 0;
        if (state->file && state->error.isEmpty() && state->file->write(chunk) != chunk.size()) {
            state->error = writeFailure(*state->file, errno);
            state->writeFailed = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, decide);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [decide, take] {
        decide();
        take();
    });
    if (progress)
        QObject::connect(
            reply, &QNetworkReply::downloadProgress, reply, [progress](qint64 r, qint64 t) { progress(r, t); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, state, decide, take, completion] {
        decide();
        take();
        Response r = describe(reply);
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
        reply->deleteLater();
        if (completion)
            completion(r);
    });
    return [reply = QPointer<QNetworkReply>(reply), state] {
        if (!reply || reply->isFinished())
            return;
        state->error = QStringLiteral("the download was cancelled");
        reply->abort();
    };
}
