#include "cli/ReleasesCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

void printRelease(const ZelFirmware& f)
{
    // Version, then the release notes, or the path when there are none; an
    // online release then says what its signature is worth.
    const QString detail = f.updateInfo.isEmpty() ? f.path : f.updateInfo;
    const QString signature
        = f.isOnline() ? QLatin1Char('\t') + ReleaseSignature::statusName(ReleaseSignature::status(f)) : QString();
    std::printf("%s\t%s%s\n", qPrintable(f.version),
        qPrintable(QString(detail).replace(QLatin1Char('\n'), QLatin1Char(' '))), qPrintable(signature));
}

// A release whose version text is no version is left out of a list, and said so.
void printRefusedVersions()
{
    for (const QString& text : std::as_const(ZelFirmwareDataTool::sharedInstance().refusedVersions))
        std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseVersionUnreadable").arg(text)));
}

} // namespace

ReleasesCommand::ReleasesCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_localOption(QStringLiteral("local"), localized("CliReleasesLocal"))
    , m_onlineOption(QStringLiteral("online"), localized("CliReleasesOnline"))
{
}

QString ReleasesCommand::description() const
{
    return localized("CliReleasesHelp");
}

int ReleasesCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    const bool local = parser.isSet(m_localOption);
    const bool online = parser.isSet(m_onlineOption);
    if (local && online)
        return usage(localized("CliOptionsExclusive").arg(QStringLiteral("--local"), QStringLiteral("--online")));
    if (!online) {
        for (const ZelFirmware& f : ZelFirmwareDataTool::sharedInstance().getLocalFirmwares())
            printRelease(f);
        std::fflush(stdout);
        printRefusedVersions();
        if (local)
            return CliOptions::Ok;
    }
    ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares(
        [](const QList<ZelFirmware>& firmwares, const QString& error) {
            if (!error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseListFailed").arg(error)));
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            for (const ZelFirmware& f : firmwares)
                printRelease(f);
            std::fflush(stdout);
            printRefusedVersions();
            QCoreApplication::exit(CliOptions::Ok);
        });
    return runEventLoop();
}
