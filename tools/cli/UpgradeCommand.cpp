#include "cli/UpgradeCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
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
    const QStringList& args = m_options.arguments;
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
                 qPrintable(localized("CliUsageError").arg(QStringLiteral("upgrade (--local VERSION | --online VERSION | --latest)"))));
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
    engine.setSelectedFirmware(&release);
    std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("SelectedFirmware")), qPrintable(localized(":")),
                 qPrintable(release.version));
    switch (engine.checkFirmware()) {
    case ZelFirmwareCheckNeedUpgrade:
        break;
    case ZelFirmwareCheckVersionSame:
        // Nothing to send: the controller already holds the release.
        std::printf("%s\n", qPrintable(release.version));
        std::fprintf(stderr, "%s\n", qPrintable(localized("FirmwareVersionSamePropmt")));
        QCoreApplication::exit(CliOptions::Ok);
        return;
    case ZelFirmwareCheckNoGamepad:
        return fail(localized("ConnectGamepadPropmt"));
    case ZelFirmwareCheckGamepadFirmwareDamaged:
        return fail(localized("GamepadFirmwareDamaged"));
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        return fail(localized("SelectedDamagedFirmware"));
    }
    m_watcher.prepare();
    engine.startUpgrade();
    const QString expected = release.version;
    m_watcher.watch([expected](const QString& versions) {
        // Success is the controller reporting the release, nothing less.
        const QStringList got = versions.split(QLatin1Char('-'));
        const QStringList want = expected.split(QLatin1Char('-'));
        bool same = got.size() == 3 && want.size() == 3;
        for (int i = 0; same && i < 3; ++i)
            same = ZelFirmwareUpgradeManager::versionNumber(got[i]) == ZelFirmwareUpgradeManager::versionNumber(want[i]);
        if (!same) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("VersionsMismatch").arg(versions, expected)));
            QCoreApplication::exit(CliOptions::Failed);
            return;
        }
        std::fprintf(stderr, "%s\n", qPrintable(localized("UpgradeSucceeded").arg(versions)));
        QCoreApplication::exit(CliOptions::Ok);
    });
}

void UpgradeCommand::fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(CliOptions::Failed);
}
