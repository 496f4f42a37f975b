#include "cli/SignListCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

SignListCommand::SignListCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_signKeyOption(QStringLiteral("sign-key"), localized("CliSignListKey"), QStringLiteral("FILE"))
{
}

QString SignListCommand::description() const
{
    return localized("CliSignListHelp");
}

int SignListCommand::run(const QCommandLineParser& parser)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return usage(localized("CliNeedsArguments").arg(QStringLiteral("OUT")));
    const QString keyFile = parser.value(m_signKeyOption);
    if (keyFile.isEmpty())
        return usage(localized("CliOptionRequired").arg(QStringLiteral("--sign-key")));
    SitePublisher::ListSigning signing;
    if (const QString error = m_signing.read(parser, &signing.expiresDays, &signing.listVersion); !error.isEmpty())
        return usage(error);
    if (!SigningOptions::loadKey(keyFile, &signing.key))
        return CliOptions::Failed;
    QString error;
    if (!SitePublisher::signList(args[0], signing, &error))
        return failed(error);
    std::printf("signed %s\n", qPrintable(QFileInfo(SitePublisher::listPath(args[0])).absoluteFilePath()));
    return CliOptions::Ok;
}
