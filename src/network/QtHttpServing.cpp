#include "network/QtHttpServing.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QTcpServer>

QtHttpServing::QtHttpServing(Handler handler)
    : m_handler(std::move(handler))
    , m_server(std::make_unique<QHttpServer>())
{
    // No routes: every request is the handler's.
    m_server->setMissingHandler([this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
        const Answer answer
            = m_handler ? m_handler({ request.url(), request.value("Host") }) : Answer::withStatus(kNotFound);
        const auto status = QHttpServerResponse::StatusCode(answer.status);
        QHttpServerResponse response = answer.contentType.isEmpty()
            ? QHttpServerResponse(status)
            : QHttpServerResponse(answer.contentType, answer.body, status);
        for (const auto& [name, value] : answer.headers)
            response.setHeader(name, value);
        response.write(std::move(responder));
    });
}

QtHttpServing::~QtHttpServing() = default;

quint16 QtHttpServing::listen(const QString& address, quint16 port)
{
    // A listener of our own rather than the server's: its failure has a
    // reason to give, and the server would only log it.
    auto* listener = new QTcpServer(m_server.get());
    if (!listener->listen(QHostAddress(address), port)) {
        m_error = listener->errorString();
        delete listener;
        return 0;
    }
    m_error.clear();
    m_server->bind(listener);
    return listener->serverPort();
}
