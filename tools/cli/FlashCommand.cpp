#include "cli/FlashCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "platform/Localization.h"

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
        if (args[i] == QLatin1String("--json")) {
            m_json = true;
            continue;
        }
        QString* target = args[i] == QLatin1String("--boot")  ? &m_boot
                          : args[i] == QLatin1String("--left")  ? &m_left
                          : args[i] == QLatin1String("--right") ? &m_right
                                                                : nullptr;
        if (!target || i + 1 >= args.size()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(
                                             QStringLiteral("flash [--json] [--boot FILE] [--left FILE] [--right FILE]"))));
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
    m_reporter = new RunReporter(&m_run, m_json, [](const UpgradeRun& run) {
        if (run.outcome() != UpgradeRun::Outcome::Completed) {
            QCoreApplication::exit(CliOptions::Failed);
            return;
        }
        std::fprintf(stderr, "%s\n", qPrintable(localized("FlashImagesSent").arg(run.versionsAfter())));
        QCoreApplication::exit(CliOptions::Ok);
    }, this);
    m_run.startFiles(m_boot, m_left, m_right);
}
