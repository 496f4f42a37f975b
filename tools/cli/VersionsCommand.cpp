#include "cli/VersionsCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/transport/SerialPortScanner.h"
#include "upgrade/ControllerProbe.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {
// After the query's own no-reply timer has shown its prompt, give up.
constexpr double kGiveUpGrace = 0.25;
} // namespace

VersionsCommand::VersionsCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_jsonOption(QStringLiteral("json"), localized("CliVersionsJson"))
{
}

QString VersionsCommand::description() const
{
    return localized("CliVersionsHelp");
}

int VersionsCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    m_json = parser.isSet(m_jsonOption);
    connector().connect(globalOptions().waitSeconds, [this] { query(); });
    return runEventLoop();
}

void VersionsCommand::query()
{
    ZelFirmwareUpgradeManager& engine = services().engine();
    engine.checkCurrentVersion([this, &engine](const QString& versions) {
        if (m_done)
            return;
        m_done = true;
        // The address and the date as the application shows them; --json
        // keeps the compact forms under their old names beside them.
        const std::pair<const char*, QString> lines[] = {
            { "bluetooth_address", ZelFirmwareUpgradeManager::addressWithColons(engine.macAddressWithoutColon()) },
            { "hardware_version", engine.hardwareVersion() },
            { "bluetooth_version", engine.bluetoothVersion() },
            { "software_version", engine.softwareVersion() },
            { "protocol_version", engine.gcmVersion() },
            { "boot_loader_version", engine.bootVer() },
            { "production_date", engine.productionDate() },
        };
        const std::pair<const char*, QString> compact[] = {
            { "bluetooth_address", engine.macAddressWithoutColon() },
            { "production_date", engine.productDateString() },
        };
        // Without a device named, the devices asked before the controller
        // answered, and those never opened for want of a declared identity.
        const ControllerProbe* probe = connector().probe();
        const SerialPortScanner* scanner = qobject_cast<const SerialPortScanner*>(connector().transport());
        if (m_json) {
            QJsonObject object { { QStringLiteral("versions"), versions } };
            for (const auto& [name, value] : lines)
                object.insert(QString::fromLatin1(name), value);
            for (const auto& [name, value] : compact) {
                object.insert(
                    QString::fromLatin1(name) + QStringLiteral("_text"), object.value(QString::fromLatin1(name)));
                object.insert(QString::fromLatin1(name), value);
            }
            if (probe) {
                QJsonArray tried;
                for (const ControllerProbe::Tried& t : probe->tried())
                    tried.append(QJsonObject {
                        { QStringLiteral("device"), t.device }, { QStringLiteral("answered"), t.answered } });
                object.insert(QStringLiteral("devices_tried"), tried);
            }
            if (scanner) {
                QJsonArray skipped;
                for (const SerialPortScanner::Skipped& s : scanner->skippedDevices())
                    skipped.append(
                        QJsonObject { { QStringLiteral("device"), s.path }, { QStringLiteral("reason"), s.reason } });
                object.insert(QStringLiteral("devices_skipped"), skipped);
            }
            std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
        } else {
            std::printf("%s\n", versions.toUtf8().constData());
            for (const auto& [name, value] : lines)
                std::printf("%s: %s\n", name, value.toUtf8().constData());
            if (probe) {
                QStringList tried;
                for (const ControllerProbe::Tried& t : probe->tried())
                    tried << t.device + (t.answered ? QStringLiteral(" (answered)") : QStringLiteral(" (no answer)"));
                std::printf("devices_tried: %s\n", tried.join(QStringLiteral(", ")).toUtf8().constData());
            }
            if (scanner && !scanner->skippedDevices().isEmpty())
                std::printf("devices_skipped: %s\n", scanner->skippedText().toUtf8().constData());
        }
        std::fflush(stdout);
        QCoreApplication::exit(CliOptions::Ok);
    });
    // The engine's own timer shows the "not responding" prompt on standard
    // error; the command then ends without an answer.
    MainQueue::dispatchAfter(
        ZelFirmwareUpgradeManager::kCheckVersionTimeout + kGiveUpGrace,
        [this] {
            if (m_done)
                return;
            m_done = true;
            QCoreApplication::exit(CliOptions::Failed);
        },
        this);
}
