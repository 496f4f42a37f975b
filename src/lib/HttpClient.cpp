#include "lib/HttpClient.h"

#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>

#include <memory>

namespace {

QString fileNameFromDisposition(const QByteArray& header)
{
    // filename="name" or filename=name; only the last path segment is kept.
    static const QRegularExpression re(QStringLiteral("filename\\s*=\\s*\"?([^\";]+)\"?"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(QString::fromUtf8(header));
    if (!m.hasMatch())
        return QString();
    return QFileInfo(m.captured(1).trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
}

HttpClient::Response describe(QNetworkReply* reply)
{
    HttpClient::Response r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray().split(';').first().trimmed().toLower();
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

void HttpClient::get(const QUrl& url, double timeoutSeconds, Completion completion)
{
    QNetworkReply* reply = startGet(network(), url, timeoutSeconds);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, completion = std::move(completion)] {
        Response r = describe(reply);
        r.body = reply->readAll();
        reply->deleteLater();
        if (completion)
            completion(r);
    });
}

void HttpClient::getJSON(const QUrl& url, double timeoutSeconds, JsonCompletion completion)
{
    get(url, timeoutSeconds, [completion = std::move(completion)](const Response& response) {
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

void HttpClient::download(const QUrl& url, const QString& filePath, double timeoutSeconds, Completion completion,
                          std::function<void(qint64, qint64)> progress)
{
    auto file = std::make_shared<QSaveFile>(filePath);
    const bool opened = file->open(QIODevice::WriteOnly);
    QNetworkReply* reply = startGet(network(), url, timeoutSeconds);
    auto writeFailed = std::make_shared<bool>(!opened);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, file, writeFailed] {
        const QByteArray chunk = reply->readAll();
        if (!*writeFailed && file->write(chunk) != chunk.size())
            *writeFailed = true;
    });
    if (progress)
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [progress](qint64 r, qint64 t) { progress(r, t); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, file, writeFailed, filePath, completion] {
        Response r = describe(reply);
        const QByteArray rest = reply->readAll();
        if (!*writeFailed && file->write(rest) != rest.size())
            *writeFailed = true;
        if (r.error.isEmpty() && (r.status < 200 || r.status > 299))
            r.error = QStringLiteral("HTTP status %1").arg(r.status);
        if (r.error.isEmpty() && *writeFailed)
            r.error = QStringLiteral("cannot write %1: %2").arg(filePath, file->errorString());
        if (r.error.isEmpty() && !file->commit())
            r.error = QStringLiteral("cannot write %1: %2").arg(filePath, file->errorString());
        if (!r.error.isEmpty())
            file->cancelWriting();
        reply->deleteLater();
        if (completion)
            completion(r);
    });
}
