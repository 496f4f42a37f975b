#include "cli/CommandLine.h"

#include "lib/HelpText.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoEnvironment.h"
#include "upgrade/LinkRecorder.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// The largest --max-download-mib: the size is turned into a byte count.
constexpr double kMaxDownloadMiBLimit = 1024.0 * 1024.0;

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kLang = QStringLiteral("lang");

QString program()
{
    return QCoreApplication::applicationName();
}

// The reason QCommandLineParser refused words, in our own localised terms:
// the unknown option, the option left without its value, the switch given one.
QString parseError(const QCommandLineParser& parser, const QStringList& words, const QList<QCommandLineOption>& options)
{
    if (!parser.unknownOptionNames().isEmpty())
        return localized("CliUnknownOption").arg(HelpText::dashed(parser.unknownOptionNames().first()));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == QLatin1String("--"))
            break;
        if (!word.startsWith(QLatin1Char('-')) || word.size() < 2)
            continue;
        const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
        for (const QCommandLineOption& option : options) {
            if (!option.names().contains(name))
                continue;
            const bool takesValue = !option.valueName().isEmpty();
            if (takesValue && !word.contains(QLatin1Char('=')) && i + 1 == words.size())
                return localized("CliOptionNeedsValue").arg(HelpText::dashed(name));
            if (!takesValue && word.contains(QLatin1Char('=')))
                return localized("CliOptionTakesNoValue").arg(HelpText::dashed(name));
            if (takesValue && !word.contains(QLatin1Char('=')))
                ++i;
        }
    }
    return parser.errorText();
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({ QStringLiteral("h"), kHelp }, localized("CliOptionHelp"));
}

} // namespace

CommandLine::CommandLine(CliServices services)
{
    m_options.services = std::move(services);
}

CommandLine::~CommandLine()
{
    if (m_toasts && MessageToast::presenter() == m_toasts.get())
        MessageToast::setPresenter(nullptr);
}

QList<QCommandLineOption> CommandLine::trustOptions()
{
    return {
        QCommandLineOption(QStringLiteral("trust-key"), localized("CliOptionTrustKey"), QStringLiteral("BASE64")),
        QCommandLineOption(QStringLiteral("trust-root"), localized("CliOptionTrustRoot"), QStringLiteral("BASE64")),
        QCommandLineOption(QStringLiteral("ca-file"), localized("CliOptionCaFile"), QStringLiteral("FILE")),
    };
}

QList<QCommandLineOption> CommandLine::globalOptions() const
{
    QList<QCommandLineOption> options {
        QCommandLineOption(QStringLiteral("device"), localized("CliOptionDevice"), QStringLiteral("D")),
        QCommandLineOption(QStringLiteral("usb-id"), localized("CliOptionUsbId"), QStringLiteral("VID:PID")),
        QCommandLineOption(QStringLiteral("record"), localized("CliOptionRecord"), QStringLiteral("FILE")),
        QCommandLineOption(QStringLiteral("simulate"), localized("CliOptionSimulate")),
        QCommandLineOption(QStringLiteral("documents"), localized("CliOptionDocuments"), QStringLiteral("DIR")),
        QCommandLineOption(QStringLiteral("server"), localized("CliOptionServer"), QStringLiteral("URL")),
    };
    options += trustOptions();
    options += {
        QCommandLineOption(QStringLiteral("wait"), localized("CliOptionWait"), QStringLiteral("SECONDS")),
        QCommandLineOption(
            QStringLiteral("restart-wait"), localized("CliOptionRestartWait"), QStringLiteral("SECONDS")),
        QCommandLineOption(
            QStringLiteral("silence-limit"), localized("CliOptionSilenceLimit"), QStringLiteral("SECONDS")),
        QCommandLineOption(
            QStringLiteral("max-download-mib"), localized("CliOptionMaxDownload"), QStringLiteral("MIB")),
        QCommandLineOption(
            QStringLiteral("list-deadline"), localized("CliOptionListDeadline"), QStringLiteral("SECONDS")),
        QCommandLineOption(QStringLiteral("stall-limit"), localized("CliOptionStallLimit"), QStringLiteral("SECONDS")),
        QCommandLineOption(kLang, localized("CliOptionLang"), QStringLiteral("LANG")),
        helpOption(),
        QCommandLineOption({ QStringLiteral("v"), kVersion }, localized("CliOptionVersion")),
    };
    return options;
}

std::unique_ptr<CliCommand> CommandLine::create(const QString& name)
{
    for (const auto& factory : m_factories) {
        std::unique_ptr<CliCommand> command = factory(m_options);
        if (command->name() == name)
            return command;
    }
    return nullptr;
}

QString CommandLine::usageWords(const CliCommand* command)
{
    const QString words = command ? QStringLiteral("[options] %1 %2").arg(command->name(), command->synopsis())
                                  : QStringLiteral("[options] COMMAND [arguments]");
    return program() + QLatin1Char(' ') + words.trimmed();
}

QString CommandLine::usageLine(const CliCommand* command)
{
    return localized("CliHelpUsage").arg(usageWords(command));
}

int CommandLine::usageError(const QString& detail, const CliCommand* command)
{
    const QString helpCommand
        = program() + (command ? QLatin1Char(' ') + command->name() : QString()) + QStringLiteral(" --help");
    std::fputs(qPrintable(HelpText::usageError(detail, usageWords(command), helpCommand)), stderr);
    return CliOptions::Usage;
}

QString CommandLine::helpText() const
{
    HelpText help;
    help.paragraph(usageLine(nullptr));
    help.heading(localized("CliHelpOptions"));
    for (const QCommandLineOption& option : globalOptions())
        help.entry(HelpText::optionColumn(option), option.description());
    help.heading(QString());
    help.heading(localized("CliHelpCommands"));
    CliOptions scratch;
    for (const auto& factory : m_factories) {
        const std::unique_ptr<CliCommand> command = factory(scratch);
        help.entry(command->name() + QLatin1Char(' ') + command->synopsis(), command->description());
    }
    help.heading(QString());
    help.paragraph(localized("CliHelpFooter").arg(program()));
    return help.text().trimmed() + QLatin1Char('\n');
}

QString CommandLine::commandHelpText(const CliCommand& command)
{
    HelpText help;
    help.paragraph(usageLine(&command));
    help.paragraph(command.description());
    const QList<QCommandLineOption> options = command.options();
    if (!options.isEmpty()) {
        help.heading(localized("CliHelpOptions"));
        for (const QCommandLineOption& option : options)
            help.entry(HelpText::optionColumn(option), option.description());
        help.heading(QString());
    }
    help.paragraph(localized("CliHelpCommandFooter").arg(program()));
    return help.text().trimmed() + QLatin1Char('\n');
}

bool CommandLine::expandMultiValues(const CliCommand& command, QStringList* words, QString* error)
{
    const QStringList names = command.multiValueOptions();
    if (names.isEmpty())
        return true;
    QStringList out;
    for (qsizetype i = 0; i < words->size(); ++i) {
        const QString& word = words->at(i);
        if (word == QLatin1String("--")) {
            out += words->mid(i);
            break;
        }
        if (!word.startsWith(QLatin1String("--")) || !names.contains(word.mid(2))) {
            out << word;
            continue;
        }
        const qsizetype first = i + 1;
        while (i + 1 < words->size() && !words->at(i + 1).startsWith(QLatin1Char('-')))
            out << word << words->at(++i);
        if (i + 1 == first) {
            *error = localized("CliOptionNeedsValue").arg(word);
            return false;
        }
    }
    *words = out;
    return true;
}

QString CommandLine::readGlobalOptions(const QCommandLineParser& parser)
{
    CliOptions& o = m_options;
    o.deviceText = parser.value(QStringLiteral("device"));
    o.simulate = parser.isSet(QStringLiteral("simulate"));
    o.documents = parser.value(QStringLiteral("documents"));
    o.server = parser.value(QStringLiteral("server"));
    o.trustKeys = parser.values(QStringLiteral("trust-key"));
    o.trustRoots = parser.values(QStringLiteral("trust-root"));
    o.caFile = parser.value(QStringLiteral("ca-file"));
    o.recordFile = parser.value(QStringLiteral("record"));
    for (const QString& text : parser.values(QStringLiteral("usb-id"))) {
        const std::optional<UsbIdentity> identity = UsbIdentity::parse(text);
        if (!identity)
            return localized("CliOptionNeedsUsbId").arg(QStringLiteral("--usb-id"), text);
        o.usbIdentities.append(*identity);
    }
    // A number of seconds, or the option's usage error.
    auto seconds = [&parser](const QString& name, double* target, bool zeroAllowed) {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const double value = parser.value(name).toDouble(&ok);
        if (!ok || !(zeroAllowed ? value >= 0 : value > 0))
            return false;
        *target = value;
        return true;
    };
    if (!seconds(QStringLiteral("wait"), &o.waitSeconds, true))
        return localized("CliOptionNeedsSeconds").arg(QStringLiteral("--wait"));
    for (const auto& [name, target] : { std::pair { QStringLiteral("restart-wait"), &o.restartWaitSeconds },
             std::pair { QStringLiteral("silence-limit"), &o.silenceLimitSeconds },
             std::pair { QStringLiteral("list-deadline"), &o.listDeadlineSeconds },
             std::pair { QStringLiteral("stall-limit"), &o.slowDownloadSeconds } })
        if (!seconds(name, target, false))
            return localized("CliOptionNeedsSecondsAboveZero").arg(HelpText::dashed(name));
    if (parser.isSet(QStringLiteral("max-download-mib"))) {
        bool ok = false;
        o.maxDownloadMiB = parser.value(QStringLiteral("max-download-mib")).toDouble(&ok);
        if (!ok || !(o.maxDownloadMiB > 0) || !(o.maxDownloadMiB < kMaxDownloadMiBLimit))
            return localized("CliOptionNeedsMiB").arg(QStringLiteral("--max-download-mib"));
    }
    return QString();
}

int CommandLine::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QList<QCommandLineOption> global = globalOptions();
    parser.addOptions(global);
    const bool parsed = parser.parse(arguments);
    // The language first, so that every message after it speaks it.
    if (parser.isSet(kLang))
        Localization::shared().setLanguage(parser.value(kLang));
    if (!parsed)
        return usageError(parseError(parser, arguments.mid(1), global));
    if (parser.isSet(kHelp)) {
        std::fputs(helpText().toUtf8().constData(), stdout);
        return CliOptions::Ok;
    }
    if (parser.isSet(kVersion)) {
        std::printf("%s %s\n", qPrintable(program()), qPrintable(QCoreApplication::applicationVersion()));
        return CliOptions::Ok;
    }
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usageError(localized("CliNoCommand"));
    const std::unique_ptr<CliCommand> command = create(words.takeFirst());
    if (!command)
        return usageError(localized("CliUnknownCommand").arg(parser.positionalArguments().first()));

    QCommandLineParser commandParser;
    if (int exitCode = 0; !parseCommandWords(*command, words, &commandParser, &exitCode))
        return exitCode;

    if (const QString error = readGlobalOptions(parser); !error.isEmpty())
        return usageError(error);
    m_options.trustKeys += commandParser.values(QStringLiteral("trust-key"));
    m_options.trustRoots += commandParser.values(QStringLiteral("trust-root"));
    if (commandParser.isSet(QStringLiteral("ca-file")))
        m_options.caFile = commandParser.value(QStringLiteral("ca-file"));
    if (int exitCode = 0; !prepare(&exitCode, !command->recordsEachController()))
        return exitCode;
    const int exitCode = command->run(commandParser);
    if (m_recorder) {
        const ZelFirmwareUpgradeManager* engine = ZelFirmwareUpgradeManager::existingInstance();
        m_recorder->finish(exitCode, engine && !engine->rightVersion().isEmpty() ? engine->versionsText() : QString());
    }
    return exitCode;
}

bool CommandLine::parseCommandWords(
    const CliCommand& command, QStringList words, QCommandLineParser* parser, int* exitCode)
{
    *exitCode = CliOptions::Usage;
    if (QString error; !expandMultiValues(command, &words, &error)) {
        usageError(error, &command);
        return false;
    }
    if (command.optionsEndAtFirstArgument())
        parser->setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QList<QCommandLineOption> own = command.options() + trustOptions() + QList { helpOption() };
    parser->addOptions(own);
    if (!parser->parse(QStringList { program() } + words)) {
        usageError(parseError(*parser, words, own), &command);
        return false;
    }
    if (parser->isSet(kHelp)) {
        std::fputs(commandHelpText(command).toUtf8().constData(), stdout);
        *exitCode = CliOptions::Ok;
        return false;
    }
    return true;
}

bool CommandLine::prepare(int* exitCode, bool record)
{
    CliOptions& o = m_options;
    if (o.simulate && o.deviceText.isEmpty())
        o.deviceText = QStringLiteral("sim");
    if (o.deviceText.isEmpty())
        o.deviceText = qEnvironmentVariable("Q3DART_DEVICE");
    if (QString bad; !DeviceAddress::parse(o.deviceText, &o.device, &bad)) {
        std::fprintf(stderr, "%s\n", localized("DeviceArgumentInvalid").arg(bad).toUtf8().constData());
        *exitCode = CliOptions::Usage;
        return false;
    }
    // The controller's identities the user added: the configuration's, then the line's.
    QStringList invalid;
    const QString configuration = UsbIdentity::userConfigurationFile();
    o.device.usbIdentities = UsbIdentity::fromConfiguration(configuration, &invalid) + o.usbIdentities;
    for (const QString& entry : invalid)
        std::fprintf(stderr, "%s\n", qPrintable(localized("ConfigurationUsbIdInvalid").arg(configuration, entry)));
    if (!o.documents.isEmpty())
        DocumentsDirectory::setPath(o.documents);
    if (!o.server.isEmpty())
        ZelFirmwareDataTool::setServerOverride(o.server);
    o.applyEngineLimits();
    if (!o.applyTrust(exitCode))
        return false;
    if (record && !o.recordFile.isEmpty()) {
        m_recorder = std::make_unique<LinkRecorder>(m_options.services.accessories());
        if (QString error; !m_recorder->open(o.recordFile, o.deviceText, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("RecordFileNotWritten").arg(o.recordFile, error)));
            *exitCode = CliOptions::Failed;
            return false;
        }
        ZelFirmwareUpgradeManager::setSharedLinkTap(m_recorder->tap());
    }
    // --simulate: the simulated controller, demo releases, throw-away documents.
    if (o.simulate) {
        m_demo = std::make_unique<DemoEnvironment>(o.documents, o.server);
        // Said once, so that nobody looks for the simulated run's results later.
        const QString notice = localized("CliSimulateNotice")
            + (o.documents.isEmpty() ? QLatin1Char(' ') + localized("CliSimulateNoticeRecords") : QString());
        std::fprintf(stderr, "%s\n", notice.toUtf8().constData());
    }
    m_toasts = std::make_unique<StderrToastPresenter>();
    MessageToast::setPresenter(m_toasts.get());
    return true;
}
