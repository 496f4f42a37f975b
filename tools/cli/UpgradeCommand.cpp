#include "cli/UpgradeCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
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
    services().engine().checkCurrentVersion([this](const QString& versions) {
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
    findRelease(services().catalogue(), m_source, m_version, [this](const ZelFirmware* release, const QString& error) {
        if (!release)
            return fail(error);
        upgrade(*release);
    });
}

void UpgradeCommand::findRelease(ZelFirmwareDataTool& catalogue, Source source, const QString& version,
    std::function<void(const ZelFirmware*, const QString&)> found)
{
    if (source == Source::Local) {
        for (const ZelFirmware& f : catalogue.getLocalFirmwares())
            if (f.version == version)
                return found(&f, QString());
        return found(nullptr, localized("ReleaseNotFound").arg(version));
    }
    catalogue.getRemoteFirmwares([source, version, found](const QList<ZelFirmware>& firmwares, const QString& error) {
        if (!error.isEmpty())
            return found(nullptr, localized("ReleaseListFailed").arg(error));
        if (source == Source::Latest) {
            if (firmwares.isEmpty())
                return found(nullptr, localized("NoNewerVersion"));
            // The newest release that may install: with a key trusted, an
            // unsigned newer entry is passed over, not chosen and then refused.
            const auto installable = std::find_if(firmwares.cbegin(), firmwares.cend(), &ReleaseSignature::mayInstall);
            if (installable == firmwares.cend())
                return found(nullptr, localized("NoInstallableRelease"));
            return found(&*installable, QString());
        }
        for (const ZelFirmware& f : firmwares)
            if (f.version == version)
                return found(&f, QString());
        found(nullptr, localized("ReleaseNotFound").arg(version));
    });
}

void UpgradeCommand::upgrade(const ZelFirmware& release)
{
    ZelFirmwareUpgradeManager& engine = services().engine();
    std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("SelectedFirmware")), qPrintable(localized(":")),
        qPrintable(release.version));
    QString message;
    switch (choose(engine, release, m_current, m_source, m_allowOlder, &message)) {
    case Choice::Install:
        break;
    case Choice::AlreadyThere:
        // Nothing to send: the controller already holds the release.
        if (!m_json)
            std::printf("%s\n", qPrintable(release.version));
        [[fallthrough]];
    case Choice::NothingNewer:
        std::fprintf(stderr, "%s\n", qPrintable(message));
        QCoreApplication::exit(CliOptions::Ok);
        return;
    case Choice::Refused:
        return fail(message);
    }
    m_run = std::make_unique<UpgradeRun>(services().engine());
    m_reporter = new RunReporter(
        m_run.get(), m_json,
        [](const UpgradeRun& run) {
            if (run.outcome() != UpgradeRun::Outcome::Completed) {
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            std::fprintf(stderr, "%s\n", qPrintable(localized("UpgradeSucceeded").arg(run.versionsAfter())));
            QCoreApplication::exit(CliOptions::Ok);
        },
        this);
    m_run->start(release);
}

UpgradeCommand::Choice UpgradeCommand::choose(ZelFirmwareUpgradeManager& engine, const ZelFirmware& release,
    const QString& current, Source source, bool allowOlder, QString* message)
{
    // Part by part, as integer pairs.
    const std::optional<ReleaseVersion> want = ReleaseVersion::parse(release.version);
    const std::optional<ReleaseVersion> have = ReleaseVersion::parse(current);
    const bool comparable = want && have;
    const bool anyOlder = comparable && want->anyOlderThan(*have);
    const bool anyNewer = comparable && want->anyNewerThan(*have);
    if (source == Source::Latest && comparable && !anyNewer) {
        // The controller already runs the newest release, or a newer one.
        *message = localized("NoNewerVersion");
        return Choice::NothingNewer;
    }
    if (source != Source::Latest && anyOlder && !allowOlder) {
        *message = localized("OlderVersionRefused").arg(release.version, current);
        return Choice::Refused;
    }
    engine.setSelectedFirmware(&release);
    const ZelFirmwareCheckResult check = engine.checkFirmware();
    switch (check) {
    case ZelFirmwareCheckNeedUpgrade:
        return Choice::Install;
    case ZelFirmwareCheckVersionSame:
        *message = localized("FirmwareVersionSamePropmt");
        return Choice::AlreadyThere;
    case ZelFirmwareCheckNoGamepad:
    case ZelFirmwareCheckGamepadFirmwareDamaged:
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        break;
    }
    *message = UpgradeRun::checkFailure(check);
    return Choice::Refused;
}

void UpgradeCommand::fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(CliOptions::Failed);
}
