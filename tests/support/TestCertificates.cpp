#include "support/TestCertificates.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>

bool TestCertificates::openssl(const QStringList& args) const
{
    QProcess p;
    p.start(m_openssl, args);
    return p.waitForFinished(testsupport::kPatienceMs) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TestCertificates::makeAuthority(const QString& name) const
{
    return openssl({ QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
        QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
        QStringLiteral("-keyout"), key(name), QStringLiteral("-out"), pem(name), QStringLiteral("-days"),
        QStringLiteral("30"), QStringLiteral("-subj"), QStringLiteral("/CN=%1").arg(name) });
}

bool TestCertificates::makeServerCertificate(
    const QString& name, const QString& authority, const QString& altName, int days) const
{
    const QString ext = m_dir.filePath(name + QStringLiteral(".ext"));
    const QString request = m_dir.filePath(name + QStringLiteral(".csr"));
    QFile f(ext);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("subjectAltName=" + altName.toUtf8() + "\n");
    f.close();
    // A negative number of days gives a certificate whose end lies in the past.
    return openssl({ QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
               QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
               key(name), QStringLiteral("-out"), request, QStringLiteral("-subj"),
               QStringLiteral("/CN=%1").arg(name) })
        && openssl({ QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request,
            QStringLiteral("-CA"), pem(authority), QStringLiteral("-CAkey"), key(authority),
            QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QString::number(days),
            QStringLiteral("-extfile"), ext, QStringLiteral("-out"), pem(name) });
}

bool TestCertificates::make()
{
    m_openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    return !m_openssl.isEmpty() && m_dir.isValid() && makeAuthority(QStringLiteral("test-ca"))
        && makeAuthority(QStringLiteral("stranger-ca"))
        && makeServerCertificate(QStringLiteral("good"), QStringLiteral("test-ca"), QStringLiteral("IP:127.0.0.1"), 30)
        && makeServerCertificate(
            QStringLiteral("other-host"), QStringLiteral("test-ca"), QStringLiteral("DNS:firmware.other.example"), 30)
        && makeServerCertificate(
            QStringLiteral("expired"), QStringLiteral("test-ca"), QStringLiteral("IP:127.0.0.1"), -1)
        && makeServerCertificate(
            QStringLiteral("untrusted"), QStringLiteral("stranger-ca"), QStringLiteral("IP:127.0.0.1"), 30);
}

QSslConfiguration TestCertificates::serverConfiguration(const QString& name) const
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(pem(name));
    QFile keyFile(key(name));
    if (certificates.isEmpty() || !keyFile.open(QIODevice::ReadOnly))
        return tls;
    tls.setLocalCertificate(certificates.first());
    tls.setPrivateKey(QSslKey(&keyFile, QSsl::Ec));
    tls.setPeerVerifyMode(QSslSocket::VerifyNone); // the server asks nothing of the client
    return tls;
}
