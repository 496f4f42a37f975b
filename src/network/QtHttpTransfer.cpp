#include "network/QtHttpTransfer.h"

#include <QNetworkReply>
#include <QNetworkRequest>

QtHttpTransfer::QtHttpTransfer(QNetworkReply* reply, Events events)
    : m_reply(reply)
    , m_events(std::move(events))
{
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] {
        if (m_events.headersReceived)
            m_events.headersReceived();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] {
        if (m_events.readyRead)
            m_events.readyRead();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [this](qint64 received, qint64 total) {
        if (m_events.progress)
            m_events.progress(received, total);
    });
    // Finished may come from inside any of the events (an abort there), so
    // neither the reply nor its transfer goes before the event loop turns.
    QObject::connect(reply, &QNetworkReply::finished, reply, [this] {
        if (m_events.finished)
            m_events.finished();
        m_reply->deleteLater();
    });
    QObject::connect(reply, &QObject::destroyed, reply, [this] { delete this; });
}

QtHttpTransfer::~QtHttpTransfer() = default;

int QtHttpTransfer::status() const
{
    return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QByteArray QtHttpTransfer::rawHeader(const QByteArray& name) const
{
    return m_reply->rawHeader(name);
}

QUrl QtHttpTransfer::url() const
{
    return m_reply->url();
}

QString QtHttpTransfer::errorString() const
{
    return m_reply->error() == QNetworkReply::NoError ? QString() : m_reply->errorString();
}

QByteArray QtHttpTransfer::readAll()
{
    return m_reply->readAll();
}

bool QtHttpTransfer::isOpen() const
{
    return m_reply->isOpen();
}

void QtHttpTransfer::abort()
{
    m_reply->abort();
}
