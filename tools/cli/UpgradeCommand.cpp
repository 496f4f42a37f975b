#include "cli/UpgradeCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
constexpr double kVersionGrace = 0.25;
}

UpgradeCommand::UpgradeCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_connector(connector)
{
}

bool UpgradeCommand::parseArguments()
{
    QStringList args = m_options.arguments;
    m_json = args.removeAll(QStringLiteral("--json")) > 0;
    m_allowOlder = args.removeAll(QStringLiteral("--allow-older")) > 0;
    if (args.size() == 1 && args[0] == QLatin1String("--latest")) {
        m_source = Source::Latest;
        return true;
    }
    if (args.size() == 2 && (args[0] == QLatin1String("--local") || args[0] == QLatin1String("--online"))) {
        m_source = args[0] == QLatin1String("--local") ? Source::Local : Source::Online;
        m_version = args[1];
        return true;
    }
    std::fprintf(stderr, "%s\n",
                 qPrintable(localized("CliUsageError").arg(QStringLiteral(
                     "upgrade [--json] [--allow-older] (--local VERSION | --online VERSION | --latest)"))));
    return false;
}

bool UpgradeCommand::run()
{
    if (!parseArguments())
        return false;
    m_connector->connect(m_options.waitSeconds, [this] { readControllerVersions(); });
    return true;
}

void UpgradeCommand::readControllerVersions()
{
    // The choice compares the release with what the controller holds now.
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion([this](const QString& versions) {
        if (m_versionsRead)
            return;
        m_versionsRead = true;
        m_current = versions;
        std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("CurrentVersion")), qPrintable(localized(":")), qPrintable(versions));
        findRelease();
    });
    MainQueue::dispatchAfter(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace, [this] {
        if (!m_versionsRead) {
            m_versionsRead = true;
            QCoreApplication::exit(CliOptions::Failed); // the engine's prompt said why
        }
    }, this);
}

void UpgradeCommand::findRelease()
{
    ZelFirmwareDataTool& catalogue = ZelFirmwareDataTool::sharedInstance();
    if (m_source == Source::Local) {
        for (const ZelFirmware& f : catalogue.getLocalFirmwares())
            if (f.version == m_version)
                return upgrade(f);
        return fail(localized("ReleaseNotFound").arg(m_version));
    }
    catalogue.getRemoteFirmwares([this](const QList<ZelFirmware>& firmwares, const QString& error) {
        if (!error.isEmpty())
            return fail(localized("ReleaseListFailed").arg(error));
        if (m_source == Source::Latest) {
            if (firmwares.isEmpty())
                return fail(localized("NoNewerVersion"));
            return upgrade(firmwares.first());
        }
        for (const ZelFirmware& f : firmwares)
            if (f.version == m_version)
                return upgrade(f);
        fail(localized("ReleaseNotFound").arg(m_version));
    });
}

void UpgradeCommand::upgrade(const ZelFirmware& release)
{
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("SelectedFirmware")), qPrintable(localized(":")),
                 qPrintable(release.version));
    // Part by part, as integer pairs.
    const std::optional<ReleaseVersion> want = ReleaseVersion::parse(release.version);
    const std::optional<ReleaseVersion> have = ReleaseVersion::parse(m_current);
    const bool comparable = want && have;
    const bool anyOlder = comparable && want->anyOlderThan(*have);
    const bool anyNewer = comparable && want->anyNewerThan(*have);
    if (m_source == Source::Latest && comparable && !anyNewer) {
        // The controller already runs the newest release, or a newer one.
        std::fprintf(stderr, "%s\n", qPrintable(localized("NoNewerVersion")));
        QCoreApplication::exit(CliOptions::Ok);
        return;
    }
    if (m_source != Source::Latest && anyOlder && !m_allowOlder)
        return fail(localized("OlderVersionRefused").arg(release.version, m_current));
    engine.setSelectedFirmware(&release);
    const ZelFirmwareCheckResult check = engine.checkFirmware();
    switch (check) {
    case ZelFirmwareCheckNeedUpgrade:
        break;
    case ZelFirmwareCheckVersionSame:
        // Nothing to send: the controller already holds the release.
        if (!m_json)
            std::printf("%s\n", qPrintable(release.version));
        std::fprintf(stderr, "%s\n", qPrintable(localized("FirmwareVersionSamePropmt")));
        QCoreApplication::exit(CliOptions::Ok);
        return;
    case ZelFirmwareCheckNoGamepad:
    case ZelFirmwareCheckGamepadFirmwareDamaged:
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        return fail(UpgradeRun::checkFailure(check));
    }
    m_reporter = new RunReporter(&m_run, m_json, [](const UpgradeRun& run) {
        if (run.outcome() != UpgradeRun::Outcome::Completed) {
            QCoreApplication::exit(CliOptions::Failed);
            return;
        }
        std::fprintf(stderr, "%s\n", qPrintable(localized("UpgradeSucceeded").arg(run.versionsAfter())));
        QCoreApplication::exit(CliOptions::Ok);
    }, this);
    m_run.start(release);
}

void UpgradeCommand::fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(CliOptions::Failed);
}
