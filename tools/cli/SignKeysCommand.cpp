#include "cli/SignKeysCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

SignKeysCommand::SignKeysCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_rootKeyOption(QStringLiteral("root-key"), localized("CliSignKeysRoot"), QStringLiteral("FILE"))
    , m_addOption(QStringLiteral("add"), localized("CliSignKeysAdd"), QStringLiteral("PUB"))
    , m_removeOption(QStringLiteral("remove"), localized("CliSignKeysRemove"), QStringLiteral("ID"))
{
}

QString SignKeysCommand::description() const
{
    return localized("CliSignKeysHelp");
}

int SignKeysCommand::run(const QCommandLineParser& parser)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return usage(localized("CliNeedsArguments").arg(QStringLiteral("OUT")));
    const QString rootFile = parser.value(m_rootKeyOption);
    if (rootFile.isEmpty())
        return usage(localized("CliOptionRequired").arg(QStringLiteral("--root-key")));
    SitePublisher::KeySetChange change;
    if (const QString error = m_signing.read(parser, &change.expiresDays, nullptr); !error.isEmpty())
        return usage(error);
    for (const QString& text : parser.values(m_addOption)) {
        const QByteArray key = ReleaseSignature::decodePublicKey(text);
        if (key.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("TrustKeyInvalid").arg(text)));
            return CliOptions::Usage;
        }
        change.add.append(key);
    }
    change.remove = parser.values(m_removeOption);
    if (!SigningOptions::loadKey(rootFile, &change.root))
        return CliOptions::Failed;
    QString error;
    if (!SitePublisher::signKeys(args[0], change, &error))
        return failed(error);
    std::printf("signed %s\n", qPrintable(QFileInfo(SitePublisher::keySetPath(args[0])).absoluteFilePath()));
    return CliOptions::Ok;
}
