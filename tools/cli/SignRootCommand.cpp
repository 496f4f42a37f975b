#include "cli/SignRootCommand.h"

#include "cli/CliOptions.h"
#include "cli/SigningOptions.h"
#include "platform/runtime/Localization.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

SignRootCommand::SignRootCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_rootKeyOption(QStringLiteral("root-key"), localized("CliSignRootCurrent"), QStringLiteral("FILE"))
    , m_newRootKeyOption(QStringLiteral("new-root-key"), localized("CliSignRootNext"), QStringLiteral("FILE"))
{
}

QString SignRootCommand::description() const
{
    return localized("CliSignRootHelp");
}

int SignRootCommand::run(const QCommandLineParser& parser)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return usage(localized("CliNeedsArguments").arg(QStringLiteral("OUT")));
    for (const QCommandLineOption* option : { &m_rootKeyOption, &m_newRootKeyOption })
        if (parser.value(*option).isEmpty())
            return usage(localized("CliOptionRequired").arg(QStringLiteral("--") + option->names().first()));
    SitePublisher::RootChange change;
    if (!SigningOptions::loadKey(parser.value(m_rootKeyOption), &change.current)
        || !SigningOptions::loadKey(parser.value(m_newRootKeyOption), &change.next))
        return CliOptions::Failed;
    QString path;
    QString error;
    if (!SitePublisher::signRoot(args[0], change, &path, &error))
        return failed(error);
    std::printf("signed %s\n", qPrintable(QFileInfo(path).absoluteFilePath()));
    return CliOptions::Ok;
}
