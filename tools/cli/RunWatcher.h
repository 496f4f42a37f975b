#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ProgressPrinter;

// Follows an upgrade run that has been started on the engine to its true end:
// the run itself, the controller's return after a final left-side image, and
// the versions read afterwards. A run is complete only when every needed
// image was acknowledged and the versions could be read.
class RunWatcher : public QObject {
    Q_OBJECT
public:
    // Called with the versions read after a complete run, which are already
    // printed on standard output. A run that does not complete ends the
    // program with the failure exit code, the reason on standard error.
    using Completed = std::function<void(const QString& versions)>;

    explicit RunWatcher(QObject* parent = nullptr);
    ~RunWatcher() override;

    // Installs the progress display on the engine; call before starting the run.
    void prepare();
    // Starts watching the run that was just started.
    void watch(Completed completed);

private:
    void checkRun();
    void awaitReturn();
    void readVersions();
    void finish(bool completed, const QString& versions, const QString& failure = QString());

    QTimer m_poll;
    QTimer m_returnDeadline;
    ProgressPrinter* m_progress;
    ProgressPrinter* m_download;
    Completed m_done;
    quint64 m_connectionAtEnd = 0;
    bool m_awaitingReturn = false;
    bool m_readingVersions = false;
};
