#include "cli/UpgradeCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
constexpr double kVersionGrace = 0.25;
}

UpgradeCommand::UpgradeCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_jsonOption(QStringLiteral("json"), localized("CliRunJson"))
    , m_allowOlderOption(QStringLiteral("allow-older"), localized("CliUpgradeAllowOlder"))
    , m_localOption(QStringLiteral("local"), localized("CliUpgradeLocal"), QStringLiteral("VERSION"))
    , m_onlineOption(QStringLiteral("online"), localized("CliUpgradeOnline"), QStringLiteral("VERSION"))
    , m_latestOption(QStringLiteral("latest"), localized("CliUpgradeLatest"))
{
}

QString UpgradeCommand::description() const
{
    return localized("CliUpgradeHelp");
}

int UpgradeCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    m_json = parser.isSet(m_jsonOption);
    m_allowOlder = parser.isSet(m_allowOlderOption);
    // Exactly one source, given once.
    const int sources = int(parser.values(m_localOption).size() + parser.values(m_onlineOption).size())
        + int(parser.optionNames().count(QStringLiteral("latest")));
    if (sources != 1)
        return usage(localized("CliUpgradeNeedsOneSource"));
    if (parser.isSet(m_latestOption)) {
        m_source = Source::Latest;
    } else {
        m_source = parser.isSet(m_localOption) ? Source::Local : Source::Online;
        m_version = parser.value(parser.isSet(m_localOption) ? m_localOption : m_onlineOption);
    }
    connector().connect(globalOptions().waitSeconds, [this] { readControllerVersions(); });
    return runEventLoop();
}

void UpgradeCommand::readControllerVersions()
{
    // The choice compares the release with what the controller holds now.
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion([this](const QString& versions) {
        if (m_versionsRead)
            return;
        m_versionsRead = true;
        m_current = versions;
        std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("CurrentVersion")), qPrintable(localized(":")),
            qPrintable(versions));
        findRelease();
    });
    MainQueue::dispatchAfter(
        ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace,
        [this] {
            if (!m_versionsRead) {
                m_versionsRead = true;
                QCoreApplication::exit(CliOptions::Failed); // the engine's prompt said why
            }
        },
        this);
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
    m_reporter = new RunReporter(
        &m_run, m_json,
        [](const UpgradeRun& run) {
            if (run.outcome() != UpgradeRun::Outcome::Completed) {
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            std::fprintf(stderr, "%s\n", qPrintable(localized("UpgradeSucceeded").arg(run.versionsAfter())));
            QCoreApplication::exit(CliOptions::Ok);
        },
        this);
    m_run.start(release);
}

void UpgradeCommand::fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(CliOptions::Failed);
}
