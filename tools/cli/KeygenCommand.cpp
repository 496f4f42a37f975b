#include "cli/KeygenCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>

#include <cstdio>

QString KeygenCommand::description() const
{
    return localized("CliKeygenHelp");
}

int KeygenCommand::run(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usage(localized("CliNeedsArguments").arg(synopsis()));
    const ReleaseSignature key = ReleaseSignature::generate();
    QString error;
    if (!key.writePrivateKey(files.first(), &error))
        return failed(error);
    std::printf("%s\n%s\n", qPrintable(key.keyId()), qPrintable(key.publicKeyBase64()));
    return CliOptions::Ok;
}
