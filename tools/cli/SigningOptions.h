#pragma once

#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;
class ReleaseSignature;

// What the publishing commands share: --expires DAYS and --list-version N
// for what they sign, and the private key files they sign with.
class SigningOptions {
public:
    SigningOptions();

    const QCommandLineOption& expiresOption() const { return m_expires; }
    const QCommandLineOption& listVersionOption() const { return m_listVersion; }

    // --expires and, when listVersion is given, --list-version; the reason
    // when one is malformed, else empty.
    QString read(const QCommandLineParser& parser, double* expiresDays, qint64* listVersion) const;
    // The private key of file; false after printing why it cannot be used.
    static bool loadKey(const QString& file, ReleaseSignature* key);

private:
    QCommandLineOption m_expires;
    QCommandLineOption m_listVersion;
};
