#include "cli/PublishCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

PublishCommand::PublishCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_signKeyOption(QStringLiteral("sign-key"), localized("CliPublishSignKey"), QStringLiteral("FILE"))
    , m_baseUrlOption(QStringLiteral("base-url"), localized("CliPublishBaseUrl"), QStringLiteral("URL"))
{
}

QString PublishCommand::description() const
{
    return localized("CliPublishHelp");
}

int PublishCommand::run(const QCommandLineParser& parser)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return usage(localized("CliNeedsArguments").arg(QStringLiteral("DIR OUT")));
    SitePublisher::ListSigning signing;
    if (const QString error = m_signing.read(parser, &signing.expiresDays, &signing.listVersion); !error.isEmpty())
        return usage(error);
    if (!QFileInfo(args[0]).isDir())
        return usage(localized("CliPublishNeedsFolder"));
    const QString baseUrl
        = parser.isSet(m_baseUrlOption) ? parser.value(m_baseUrlOption) : ZelFirmwareDataTool::serverBaseUrl();
    const QUrl base(baseUrl);
    if (!base.isValid() || (base.scheme() != QLatin1String("http") && base.scheme() != QLatin1String("https"))
        || base.host().isEmpty())
        return usage(localized("CliBaseUrlInvalid"));
    if (!SigningOptions::loadKey(parser.value(m_signKeyOption), &signing.key))
        return CliOptions::Failed;
    ReleaseServer site(args[0]);
    QString error;
    if (!SitePublisher::publish(site, args[1], baseUrl, signing.key.isValid() ? &signing : nullptr, &error))
        return failed(error);
    std::printf("published %s for %s\n", qPrintable(QFileInfo(args[1]).absoluteFilePath()), qPrintable(baseUrl));
    return CliOptions::Ok;
}
