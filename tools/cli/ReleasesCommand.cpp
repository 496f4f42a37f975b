#include "cli/ReleasesCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

QJsonObject releaseObject(const ZelFirmware& f)
{
    const QString text = f.isOnline() ? QStringLiteral("online") : QStringLiteral("local");
    QJsonObject object { { QStringLiteral("source"), text }, { QStringLiteral("version"), f.version },
        { QStringLiteral("notes"), f.updateInfo }, { QStringLiteral("path"), f.path },
        // The date as the list gives it, and as a date where it reads as one.
        { QStringLiteral("date"), f.updateTime },
        { QStringLiteral("release_date"),
            f.releaseDate().isValid() ? QJsonValue(f.releaseDate().toString(Qt::ISODate)) : QJsonValue() } };
    if (f.isOnline())
        object.insert(QStringLiteral("signature"), ReleaseSignature::statusName(ReleaseSignature::status(f)));
    return object;
}

// A release whose version text is no version is left out of a list, and said so.
void printRefusedVersions(const ZelFirmwareDataTool& catalogue)
{
    for (const QString& text : std::as_const(catalogue.refusedVersions))
        std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseVersionUnreadable").arg(text)));
}

} // namespace

ReleasesCommand::ReleasesCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_localOption(QStringLiteral("local"), localized("CliReleasesLocal"))
    , m_onlineOption(QStringLiteral("online"), localized("CliReleasesOnline"))
    , m_jsonOption(QStringLiteral("json"), localized("CliReleasesJson"))
{
}

QString ReleasesCommand::description() const
{
    return localized("CliReleasesHelp");
}

void ReleasesCommand::show(const QList<ZelFirmware>& firmwares, bool online)
{
    if (m_json) {
        for (const ZelFirmware& f : firmwares)
            m_array.append(releaseObject(f));
        return;
    }
    // Listed together, each group is headed; alone, the lines are as scripts read them.
    if (m_both)
        std::printf("%s\n", qPrintable(localized(online ? "CliReleasesOnlineHeading" : "CliReleasesLocalHeading")));
    for (const ZelFirmware& f : firmwares)
        printRelease(f);
    std::fflush(stdout);
    if (firmwares.isEmpty()) {
        const QString none = localized(online ? "CliReleasesNoneOnline" : "CliReleasesNoneLocal");
        std::fprintf(m_both ? stdout : stderr, "%s\n", qPrintable(none));
        std::fflush(m_both ? stdout : stderr);
    }
}

void ReleasesCommand::printJson()
{
    if (m_json) {
        std::printf("%s\n", QJsonDocument(m_array).toJson(QJsonDocument::Indented).constData());
        std::fflush(stdout);
    }
}

int ReleasesCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    const bool local = parser.isSet(m_localOption);
    const bool online = parser.isSet(m_onlineOption);
    if (local && online)
        return usage(localized("CliOptionsExclusive").arg(QStringLiteral("--local"), QStringLiteral("--online")));
    m_json = parser.isSet(m_jsonOption);
    m_both = !local && !online;
    if (!online) {
        show(services().catalogue().getLocalFirmwares(), false);
        printRefusedVersions(services().catalogue());
        if (local) {
            printJson();
            return CliOptions::Ok;
        }
    }
    services().catalogue().getRemoteFirmwares([this](const QList<ZelFirmware>& firmwares, const QString& error) {
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseListFailed").arg(error)));
            QCoreApplication::exit(CliOptions::Failed);
            return;
        }
        show(firmwares, true);
        printRefusedVersions(services().catalogue());
        printJson();
        QCoreApplication::exit(CliOptions::Ok);
    });
    return runEventLoop();
}
