#pragma once

#include "lib/NetworkBackend.h"

#include <memory>

class QHttpServer;

// A server made with Qt's HTTP server: every request goes to the handler.
class QtHttpServing : public HttpServing {
public:
    explicit QtHttpServing(Handler handler);
    ~QtHttpServing() override;

    quint16 listen(const QString& address, quint16 port) override;
    QString errorString() const override { return m_error; }

private:
    Handler m_handler;
    std::unique_ptr<QHttpServer> m_server;
    QString m_error;
};
