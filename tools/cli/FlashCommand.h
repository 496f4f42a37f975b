#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class ControllerConnector;
class ProgressPrinter;
struct CliOptions;

// `flash [--boot FILE] [--left FILE] [--right FILE]`: sends the given images
// through the engine in its order (boot loader, left, right) across the
// controller's restarts, then reads the versions again. Success only when
// every image was acknowledged and the versions were read afterwards.
class FlashCommand : public QObject {
    Q_OBJECT
public:
    FlashCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent = nullptr);
    ~FlashCommand() override;
    void run();

private:
    bool parseArguments();
    void start();
    void checkRun();
    void awaitReturn();
    void readVersions();
    void finish(int exitCode, const QString& message = QString());

    const CliOptions& m_options;
    ControllerConnector* m_connector;
    QString m_boot, m_left, m_right;
    QTimer m_poll;
    QTimer m_returnDeadline;
    ProgressPrinter* m_progress = nullptr;
    quint64 m_connectionAtEnd = 0;
    bool m_awaitingReturn = false;
    bool m_readingVersions = false;
    bool m_done = false;
};
