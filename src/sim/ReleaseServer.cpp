#include "sim/ReleaseServer.h"

#include "firmware/FileHash.h"
#include "lib/NetworkBackend.h"
#include "lib/NetworkModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <utility>

namespace {

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

// The scheme, host and port the client used, so the addresses in the list work for it.
QString baseUrlOf(const QByteArray& host, const QString& fallback)
{
    return host.isEmpty() ? fallback : QStringLiteral("http://") + QString::fromLatin1(host);
}

} // namespace

ReleaseServer::ReleaseServer(const QString& folder, QObject* parent)
    : ReleaseServer([folder] { return folder; }, parent)
{
}

ReleaseServer::ReleaseServer(std::function<QString()> folderSource, QObject* parent)
    : ReleaseServer(std::move(folderSource), Mode::Archives, parent)
{
}

ReleaseServer::ReleaseServer(std::function<QString()> folderSource, Mode mode, QObject* parent)
    : QObject(parent)
    , m_folderSource(std::move(folderSource))
    , m_mode(mode)
{
    if (NetworkBackend* backend = NetworkModule::backend(&m_unavailable))
        m_server = backend->createServer(
            [this](const HttpServing::Request& request) { return answer(request.url, request.host); });
}

ReleaseServer::~ReleaseServer() = default;

HttpServing::Answer ReleaseServer::answer(const QUrl& url, const QByteArray& host)
{
    const QString path = url.path();
    if (m_mode == Mode::Site) {
        ++m_requests;
        return siteFile(path);
    }
    if (path == kListPath) {
        ++m_requests;
        HttpServing::Answer list;
        list.contentType = "application/json";
        list.body = releaseList(baseUrlOf(host, baseUrl()));
        return list;
    }
    if (path.startsWith(kReleasesPath) && path.size() > kReleasesPath.size()) {
        ++m_requests;
        return archive(path.mid(kReleasesPath.size()));
    }
    return HttpServing::Answer::withStatus(HttpServing::kNotFound);
}

HttpServing::Answer ReleaseServer::archive(const QString& name)
{
    // Only archives of the listing are served: no path of the client's making is opened.
    const QFileInfo info(QDir(folder()).filePath(name));
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || !name.endsWith(QLatin1String(".zip"))
        || info.dir().absolutePath() != QDir(folder()).absolutePath() || !info.isFile())
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    HttpServing::Answer answer;
    answer.contentType = "application/zip";
    answer.body = file.readAll();
    answer.headers.append({ "Content-Disposition", "attachment; filename=\"" + name.toUtf8() + "\"" });
    return answer;
}

HttpServing::Answer ReleaseServer::siteFile(const QString& path)
{
    // Only regular files inside the site, by their real paths: no dot
    // segment, link or path of the client's making leads out of it.
    const QString root = QFileInfo(folder()).canonicalFilePath();
    const QFileInfo info(root + QLatin1Char('/') + path);
    const QString real = info.canonicalFilePath();
    if (root.isEmpty() || path.split(QLatin1Char('/')).contains(QLatin1String("..")) || real.isEmpty()
        || !real.startsWith(root + QLatin1Char('/')) || !info.isFile())
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    QFile file(real);
    if (!file.open(QIODevice::ReadOnly))
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    // The list has no extension: the host is told it is JSON, as the
    // publishing notes ask of a real host.
    HttpServing::Answer answer;
    answer.contentType = path == kListPath || path.endsWith(QLatin1String(".json")) ? "application/json"
        : path.endsWith(QLatin1String(".zip"))                                      ? "application/zip"
                                                                                    : "application/octet-stream";
    answer.body = file.readAll();
    return answer;
}

const QString& ReleaseServer::folder()
{
    if (m_folderSource)
        m_folder = std::exchange(m_folderSource, nullptr)();
    return m_folder;
}

quint16 ReleaseServer::listen(const QString& address, quint16 port)
{
    m_address = address;
    m_port = m_server ? m_server->listen(address, port) : 0;
    return m_port;
}

QString ReleaseServer::errorString() const
{
    return m_server ? m_server->errorString() : m_unavailable;
}

QString ReleaseServer::baseUrl() const
{
    const QString host = m_address.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(m_address) : m_address;
    return QStringLiteral("http://%1:%2").arg(host).arg(m_port);
}

ReleaseServer::Digest ReleaseServer::digestOf(const QString& path)
{
    const QFileInfo info(path);
    auto it = m_digests.constFind(path);
    if (it != m_digests.constEnd() && it->size == info.size() && it->modified == info.lastModified())
        return *it;
    const Digest digest { info.size(), info.lastModified(), FileHash::md5HashOfFileAtPath(path),
        FileHash::sha256HashOfFileAtPath(path) };
    m_digests.insert(path, digest);
    return digest;
}

QByteArray ReleaseServer::releaseList(const QString& baseUrl)
{
    QJsonArray data;
    const QDir dir(folder());
    for (const QFileInfo& archive : dir.entryInfoList({ QStringLiteral("*.zip") }, QDir::Files, QDir::Name)) {
        const QString version = archive.completeBaseName();
        const Digest digest = digestOf(archive.absoluteFilePath());
        if (digest.md5.isEmpty() || digest.sha256.isEmpty())
            continue; // unreadable: not offered
        QString date = readText(dir.filePath(version + QStringLiteral(".date")));
        if (date.isEmpty())
            date = archive.lastModified().toString(QStringLiteral("yyyy-MM-dd"));
        QJsonObject release {
            { QStringLiteral("ver"), version },
            { QStringLiteral("upgrade_msg"), readText(dir.filePath(version + QStringLiteral(".txt"))) },
            { QStringLiteral("path"),
                baseUrl + kReleasesPath + QString::fromUtf8(QUrl::toPercentEncoding(archive.fileName())) },
            { QStringLiteral("md5file"), digest.md5 },
            { QStringLiteral("upgrade_time"), date },
            { QStringLiteral("sha256"), digest.sha256 },
        };
        if (m_signingKey.isValid()) {
            release.insert(QStringLiteral("sig"), m_signingKey.sign(version, digest.sha256));
            release.insert(QStringLiteral("keyid"), m_signingKey.keyId());
        }
        data.append(release);
    }
    return QJsonDocument(QJsonObject { { QStringLiteral("data"), data } }).toJson(QJsonDocument::Compact);
}

bool ReleaseServer::publish(const QString& out, const QString& baseUrl, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    QString base = baseUrl;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QDir root(out);
    const QString releases = root.filePath(kReleasesPath.mid(1));
    const QString list = root.filePath(kListPath.mid(1));
    if (!QDir().mkpath(releases) || !QDir().mkpath(QFileInfo(list).absolutePath()))
        return fail(QStringLiteral("cannot create the folders of %1").arg(out));
    // The archives first, then the list that offers them: a site copied to
    // its host in this order never lists an archive it does not hold yet.
    const QByteArray json = releaseList(base);
    for (const QFileInfo& archive :
        QDir(folder()).entryInfoList({ QStringLiteral("*.zip") }, QDir::Files, QDir::Name)) {
        const QString target = QDir(releases).filePath(archive.fileName());
        // Publishing a site's own archive folder again must not delete them.
        if (QFileInfo(target).canonicalFilePath() == archive.canonicalFilePath())
            continue;
        QFile::remove(target);
        if (!QFile::copy(archive.absoluteFilePath(), target))
            return fail(QStringLiteral("cannot copy %1 to %2").arg(archive.absoluteFilePath(), target));
    }
    QSaveFile file(list);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(list, file.errorString()));
    return true;
}
