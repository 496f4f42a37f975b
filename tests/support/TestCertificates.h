#pragma once

#include <QSslConfiguration>
#include <QString>
#include <QTemporaryDir>

// Certificates made at test time with the openssl command, in a folder of
// their own: a certificate authority "test-ca" and a stranger one
// "stranger-ca", and server certificates "good" (127.0.0.1, from test-ca),
// "other-host" (another host name), "expired" and "untrusted" (from the
// stranger). Each NAME has NAME.pem and NAME.key.
class TestCertificates {
public:
    // False when there is no openssl command or a certificate could not be made.
    bool make();
    QString pem(const QString& name) const { return m_dir.filePath(name + QStringLiteral(".pem")); }
    QString key(const QString& name) const { return m_dir.filePath(name + QStringLiteral(".key")); }
    // What a TLS server presenting NAME uses.
    QSslConfiguration serverConfiguration(const QString& name) const;

private:
    bool openssl(const QStringList& args) const;
    bool makeAuthority(const QString& name) const;
    bool makeServerCertificate(const QString& name, const QString& authority, const QString& altName, int days) const;

    QTemporaryDir m_dir;
    QString m_openssl;
};
