#pragma once

#include "lib/NetworkBackend.h"

#include <QPointer>

class QNetworkReply;

// A GET carried by Qt's network access manager.
class QtHttpTransfer : public HttpTransfer {
public:
    // Takes the reply; goes with it, on the turn of the event loop after the finished event.
    QtHttpTransfer(QNetworkReply* reply, Events events);
    ~QtHttpTransfer() override;

    int status() const override;
    QByteArray rawHeader(const QByteArray& name) const override;
    QUrl url() const override;
    QString errorString() const override;
    QByteArray readAll() override;
    bool isOpen() const override;
    void abort() override;

private:
    QPointer<QNetworkReply> m_reply;
    Events m_events;
};
