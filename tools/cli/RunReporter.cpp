#include "cli/RunReporter.h"

#include "cli/CliOptions.h"
#include "cli/ProgressPrinter.h"
#include "platform/runtime/InterruptNotifier.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <utility>

RunReporter::RunReporter(UpgradeRun* run, bool json, Ended ended, QObject* parent)
    : QObject(parent)
    , m_run(run)
    , m_json(json)
    , m_ended(std::move(ended))
    , m_progress(new ProgressPrinter("progress"))
    , m_download(new ProgressPrinter("download"))
{
    connect(run, &UpgradeRun::phaseChanged, this, [this](UpgradeRun::Phase phase) {
        if (phase != UpgradeRun::Phase::Download)
            m_download->finish();
        showPhase(phase);
        if (m_json)
            event({ { QStringLiteral("event"), QStringLiteral("phase") },
                { QStringLiteral("phase"), UpgradeRun::phaseName(phase) } });
    });
    connect(run, &UpgradeRun::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_json)
            event({ { QStringLiteral("event"), QStringLiteral("download") },
                { QStringLiteral("received"), double(received) }, { QStringLiteral("total"), double(total) } });
        else if (total > 0)
            m_download->update(100.0 * double(received) / double(total));
    });
    connect(run, &UpgradeRun::progressChanged, this, [this](double percent) {
        m_download->finish();
        if (!m_json) {
            m_progress->update(percent);
            return;
        }
        // Tenths of a percent are worth a line; the run's own figure never
        // decreases and reaches 100 only when it completed.
        const int tenths = int(std::floor(percent * 10.0));
        if (tenths <= m_lastTenths)
            return;
        m_lastTenths = tenths;
        event(
            { { QStringLiteral("event"), QStringLiteral("progress") }, { QStringLiteral("percent"), tenths / 10.0 } });
    });
    connect(run, &UpgradeRun::finished, this, &RunReporter::ended);
    // The run goes on without the lock; said once in the process, however many runs it makes.
    connect(&run->sleepInhibitor(), &SleepInhibitor::unavailable, this, [this](const QString& reason) {
        static bool said = false;
        if (std::exchange(said, true))
            return;
        m_progress->finish();
        std::fprintf(stderr, "%s\n", qPrintable(localized("CliSleepNotHeldOff").arg(reason)));
    });
    // Ctrl-C cancels at once while nothing can be damaged; during an image it
    // waits for the image's end acknowledgement (or its silence limit), so a
    // side is never left half-written. Said once on standard error.
    connect(&InterruptNotifier::shared(), &InterruptNotifier::interrupted, this, [this] {
        if (!m_run->isRunning() || m_run->requestCancel() || m_interruptNoted)
            return;
        m_interruptNoted = true;
        m_progress->finish();
        std::fprintf(stderr, "%s\n", qPrintable(localized("CliInterruptWaitsForImage")));
    });
}

void RunReporter::showPhase(UpgradeRun::Phase phase)
{
    if (m_json)
        return;
    // On a terminal the bar says what is under way; a restart counts down
    // to when the run gives up on the controller.
    if (phase == UpgradeRun::Phase::WaitingForRestart && m_progress->isTerminal()) {
        if (!m_countdown) {
            m_countdown = new QTimer(this);
            connect(m_countdown, &QTimer::timeout, this, [this] { showPhase(m_run->phase()); });
        }
        m_countdown->start(MainQueue::scaledMilliseconds(1.0));
        const QString text = UpgradeRun::phaseText(phase);
        const int left = int(std::ceil(m_run->restartSecondsLeft()));
        m_progress->setStatus(localized("CliRestartCountdown")
                                  .arg(m_run->restartOverdue() ? localized("PhaseRestartLonger") : text)
                                  .arg(left));
        return;
    }
    if (m_countdown)
        m_countdown->stop();
    if (phase == UpgradeRun::Phase::Download)
        m_download->setStatus(UpgradeRun::phaseText(phase));
    else
        m_progress->setStatus(UpgradeRun::phaseText(phase));
}

RunReporter::~RunReporter()
{
    delete m_progress;
    delete m_download;
}

void RunReporter::event(const QJsonObject& object)
{
    QJsonObject line = object;
    if (!m_device.isEmpty())
        line.insert(QStringLiteral("device"), m_device);
    std::printf("%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

void RunReporter::ended(UpgradeRun::Outcome outcome)
{
    if (m_countdown)
        m_countdown->stop();
    m_progress->finish();
    m_download->finish();
    QJsonValue installed; // null when what the controller holds is unknown
    if (m_run->installedKnown()) {
        QJsonArray images;
        for (UpgradePlan::Image image : m_run->installed())
            images.append(UpgradeRun::imageKey(image));
        installed = images;
    }
    if (m_json) {
        event({ { QStringLiteral("event"), QStringLiteral("outcome") },
            { QStringLiteral("outcome"), UpgradeRun::outcomeName(outcome) },
            { QStringLiteral("versions"),
                m_run->versionsAfter().isNull() ? QString(QLatin1String("")) : m_run->versionsAfter() },
            { QStringLiteral("reason"), m_run->reason().isNull() ? QString(QLatin1String("")) : m_run->reason() },
            { QStringLiteral("code"),
                m_run->failure().isNone() ? QString(QLatin1String("")) : m_run->failure().name() },
            { QStringLiteral("installed"), installed }, { QStringLiteral("message"), m_run->outcomeText() } });
    } else if (outcome == UpgradeRun::Outcome::Completed && m_device.isEmpty()) {
        std::printf("%s\n", qPrintable(m_run->versionsAfter()));
        std::fflush(stdout);
    }
    if (m_device.isEmpty() && outcome != UpgradeRun::Outcome::Completed && !m_run->reason().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(m_run->outcomeText()));
    // The outcome stands as it is; what could not be kept of it is said beside it.
    if (!m_run->historyNotSaved().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(m_run->historyNotSaved()));
    if (m_ended)
        m_ended(*m_run);
}
