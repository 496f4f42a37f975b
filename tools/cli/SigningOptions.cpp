#include "cli/SigningOptions.h"

#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

SigningOptions::SigningOptions()
    : m_expires(QStringLiteral("expires"), localized("CliSignExpires"), QStringLiteral("DAYS"))
    , m_listVersion(QStringLiteral("list-version"), localized("CliSignListVersion"), QStringLiteral("N"))
{
}

QString SigningOptions::read(const QCommandLineParser& parser, double* expiresDays, qint64* listVersion) const
{
    bool ok = true;
    if (parser.isSet(m_expires))
        *expiresDays = parser.value(m_expires).toDouble(&ok);
    if (!ok || !(*expiresDays >= 0) || *expiresDays > SitePublisher::kMaxExpiryDays)
        return localized("CliExpiresInvalid").arg(SitePublisher::kMaxExpiryDays);
    if (listVersion && parser.isSet(m_listVersion))
        *listVersion = parser.value(m_listVersion).toLongLong(&ok);
    if (!ok || (listVersion && *listVersion < 0))
        return localized("CliListVersionInvalid");
    return QString();
}

bool SigningOptions::loadKey(const QString& file, ReleaseSignature* key)
{
    if (file.isEmpty())
        return true;
    QString error;
    *key = ReleaseSignature::fromPrivateKeyFile(file, &error);
    if (!key->isValid())
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(error));
    return key->isValid();
}
