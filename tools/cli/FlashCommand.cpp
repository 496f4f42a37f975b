#include "cli/FlashCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

FlashCommand::FlashCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_jsonOption(QStringLiteral("json"), localized("CliRunJson"))
    , m_bootOption(QStringLiteral("boot"), localized("CliFlashBoot"), QStringLiteral("FILE"))
    , m_leftOption(QStringLiteral("left"), localized("CliFlashLeft"), QStringLiteral("FILE"))
    , m_rightOption(QStringLiteral("right"), localized("CliFlashRight"), QStringLiteral("FILE"))
{
}

QString FlashCommand::description() const
{
    return localized("CliFlashHelp");
}

int FlashCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    m_json = parser.isSet(m_jsonOption);
    m_boot = parser.value(m_bootOption);
    m_left = parser.value(m_leftOption);
    m_right = parser.value(m_rightOption);
    if (m_boot.isEmpty() && m_left.isEmpty() && m_right.isEmpty())
        return usage(localized("CliFlashNeedsImage"));
    connector().connect(globalOptions().waitSeconds, [this] { start(); });
    return runEventLoop();
}

void FlashCommand::start()
{
    m_run = std::make_unique<UpgradeRun>(services().engine());
    m_reporter = new RunReporter(
        m_run.get(), m_json,
        [](const UpgradeRun& run) {
            if (run.outcome() != UpgradeRun::Outcome::Completed) {
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            std::fprintf(stderr, "%s\n", qPrintable(localized("FlashImagesSent").arg(run.versionsAfter())));
            QCoreApplication::exit(CliOptions::Ok);
        },
        this);
    m_run->startFiles(m_boot, m_left, m_right);
}
