#include "cli/FlashCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "platform/Localization.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>

#include <cstdio>

FlashCommand::FlashCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_connector(connector)
{
}

bool FlashCommand::parseArguments()
{
    const QStringList& args = m_options.arguments;
    for (int i = 0; i < args.size(); ++i) {
        QString* target = args[i] == QLatin1String("--boot")  ? &m_boot
                          : args[i] == QLatin1String("--left")  ? &m_left
                          : args[i] == QLatin1String("--right") ? &m_right
                                                                : nullptr;
        if (!target || i + 1 >= args.size()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(
                                             QStringLiteral("flash [--boot FILE] [--left FILE] [--right FILE]"))));
            return false;
        }
        *target = args[++i];
    }
    if (m_boot.isEmpty() && m_left.isEmpty() && m_right.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(QStringLiteral("flash needs at least one image"))));
        return false;
    }
    return true;
}

bool FlashCommand::run()
{
    if (!parseArguments())
        return false;
    m_connector->connect(m_options.waitSeconds, [this] { start(); });
    return true;
}

void FlashCommand::start()
{
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    engine.bootFilePath = m_boot;
    engine.leftFilePath = m_left;
    engine.rightFilePath = m_right;
    engine.bootNeedUpgrade = !m_boot.isEmpty();
    engine.leftNeedUpgrade = !m_left.isEmpty();
    engine.rightNeedUpgrade = !m_right.isEmpty();
    engine.bootUpgradeDone = engine.leftUpgradeDone = engine.rightUpgradeDone = false;
    m_watcher.prepare();
    if (engine.bootNeedUpgrade)
        engine.upgradeBoot();
    else if (engine.leftNeedUpgrade)
        engine.upgradeLeftSide();
    else
        engine.upgradeRightSide();
    m_watcher.watch([](const QString& versions) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("FlashImagesSent").arg(versions)));
        QCoreApplication::exit(CliOptions::Ok);
    });
}
