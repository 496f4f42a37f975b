#include "upgrade/ReleaseFetcher.h"

#include "firmware/DownloadStore.h"
#include "firmware/FileHash.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "lib/HttpClient.h"
#include "lib/MessageToast.h"
#include "lib/ZipArchive.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace {

const QString kArchiveSuffix = QStringLiteral(".zip");

bool isRemote(const QString& url)
{
    return url.startsWith(QLatin1String("http"));
}

void makeFolder(const QString& path)
{
    if (!QFileInfo::exists(path))
        QDir().mkdir(path);
}

// The name a release's archive is stored under: made from its version text
// alone, which holds nothing but digits, points and dashes; never from what
// the server says (its Content-Disposition, its address), so that no server
// chooses where a download lands. Empty when the version is no version.
QString downloadName(const QString& version)
{
    if (!ReleaseVersion::parse(version))
        return QString();
    return version + kArchiveSuffix;
}

// Whether a download may be stored under `name` in the documents directory:
// never over one of our own files (the records, the release folders, a copy
// kept aside), nor over the archive of another recorded version, whose
// unpacked folder would then hold this release's images under that
// version's record. Names are compared without regard to case, as a phone's
// file system does.
bool mayStoreDownloadAs(const QString& name, const QString& version, const DocumentStore& documents)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || DocumentStore::isOwnName(name))
        return false;
    const QString folder = QFileInfo(name).completeBaseName();
    const QHash<QString, QString> records = DownloadStore::in(documents).records();
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        if (it.key() != version && it.value().compare(folder, Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

// Tells the user a record could not be saved; the run goes on without it.
void recordNotSaved(const QString& reason)
{
    MessageToast::showMsgWithtext(
        localized("DownloadRecordNotSaved").arg(reason), ReleaseFetcher::kRecordMessageSeconds);
}

void forgetVersion(const QString& version, const DocumentStore& documents)
{
    if (QString reason; !DownloadStore::in(documents).removeVersion(version, &reason) && !reason.isEmpty())
        recordNotSaved(reason);
}

// The image files a release folder lacks, by name.
QString missingImages(const QString& folder)
{
    QStringList missing;
    for (const QString& name :
        { ReleaseFetcher::kBootFileName, ReleaseFetcher::kLeftFileName, ReleaseFetcher::kRightFileName })
        if (!QFileInfo(QDir(folder).filePath(name)).isFile())
            missing.append(name);
    return missing.join(localized("ListSeparator"));
}

// A size in MiB as a user would write it: "64", "0.5", "0.01".
QString mebibytesText(qint64 bytes)
{
    QString text = QString::number(double(bytes) / (1024 * 1024), 'f', 2);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text;
}

} // namespace

ReleaseFetcher::~ReleaseFetcher()
{
    abort();
}

void ReleaseFetcher::abort()
{
    m_download.reset();
    if (auto abortDownload = std::exchange(m_abortDownload, nullptr))
        abortDownload();
}

bool ReleaseFetcher::findImages(const QString& folder, Images& images)
{
    int found = 0;
    if (folder.isEmpty())
        return false;
    for (const QString& name :
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        QString* field = name == kLeftFileName ? &images.left
            : name == kRightFileName           ? &images.right
            : name == kBootFileName            ? &images.boot
                                               : nullptr;
        if (!field)
            continue;
        *field = folder + QLatin1Char('/') + name;
        ++found;
    }
    return found == 3;
}

UpgradeReason ReleaseFetcher::signatureRefusal(const ZelFirmware& release)
{
    switch (ReleaseSignature::status(release)) {
    case ReleaseSignature::Status::Unsigned:
        return UpgradeReason(UpgradeReason::Code::ReleaseNotSigned);
    case ReleaseSignature::Status::Invalid:
        return UpgradeReason(UpgradeReason::Code::SignatureInvalid);
    case ReleaseSignature::Status::Verified:
    case ReleaseSignature::Status::Unchecked:
        break;
    }
    return UpgradeReason();
}

void ReleaseFetcher::begin(
    const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks)
{
    abort();
    m_release = release;
    m_documents = documents;
    m_limits = limits;
    m_hooks = std::move(hooks);
}

void ReleaseFetcher::download(
    const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks)
{
    begin(release, documents, limits, std::move(hooks));
    fetchRemote();
}

void ReleaseFetcher::fetch(
    const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks)
{
    begin(release, documents, limits, std::move(hooks));
    // With a key trusted, an entry of the online list installs only from a
    // download checked against its signed digest, whatever its fields say: one
    // naming a folder (an old unpacked download, say) has nothing to check.
    if (release.listed && ReleaseSignature::hasTrustedKeys() && !isRemote(release.path)) {
        fail(UpgradeReason(UpgradeReason::Code::ReleaseNotSigned));
        return;
    }
    if (!release.md5.isEmpty() || isRemote(release.path)) {
        fetchRemote();
        return;
    }
    if (Images images; findImages(release.path, images)) {
        if (auto ready = m_hooks.ready; ready)
            ready(images);
    } else {
        fail(UpgradeReason(UpgradeReason::Code::ReleaseFilesMissing));
    }
}

void ReleaseFetcher::fail(const UpgradeReason& reason)
{
    if (auto failed = m_hooks.failed; failed)
        failed(reason);
}

void ReleaseFetcher::finishIn(const QString& folder)
{
    if (Images images; findImages(folder, images)) {
        if (auto ready = m_hooks.ready; ready)
            ready(images);
        return;
    }
    // Forgotten at once: kept, the next start would find the same gap in its
    // folder instead of downloading the release again.
    forgetVersion(m_release.version, m_documents);
    fail(UpgradeReason(UpgradeReason::Code::ReleaseIncomplete, { missingImages(folder) }));
}

void ReleaseFetcher::fetchRemote()
{
    // With a trusted key, a release whose signature does not verify is not
    // even fetched; and an earlier download is not reused, since nothing shows
    // that it came from an archive with the signed digest: the release is
    // fetched again and checked.
    const bool trusted = ReleaseSignature::hasTrustedKeys();
    if (trusted) {
        if (const UpgradeReason refusal = signatureRefusal(m_release); !refusal.isNone()) {
            fail(refusal);
            return;
        }
    }
    makeFolder(m_documents.path(DocumentStore::kRemoteReleases));
    const QString releases = m_documents.remoteProductFolder();
    makeFolder(releases);
    const QString recorded = DownloadStore::in(m_documents).folderForVersion(m_release.version);
    if (!recorded.isNull() && !trusted) {
        // An unpacked release that lost an image is forgotten, so the next start downloads it again.
        finishIn(releases + QLatin1Char('/') + recorded);
        return;
    }
    const DocumentStore documents = m_documents;
    const QString version = m_release.version;
    m_download = std::make_shared<int>();
    const std::weak_ptr<int> download = m_download;
    if (auto step = m_hooks.step; step)
        step(Step::Download);
    HttpClient::Limits limits;
    limits.silenceSeconds = m_limits.silenceSeconds;
    limits.minBytesPerSecond = m_limits.minBytesPerSecond;
    limits.slowSeconds = m_limits.slowSeconds;
    limits.maxBytes = m_limits.maxBytes;
    m_abortDownload = HttpClient::download(
        QUrl(m_release.path),
        [documents, version](const HttpClient::Response&) {
            // An empty path refuses the download before anything is written.
            const QString name = downloadName(version);
            if (!mayStoreDownloadAs(name, version, documents))
                return QString();
            return documents.path(name);
        },
        limits,
        [this, download](const HttpClient::Response& response) {
            // A download that was aborted, or whose fetcher is gone, is not used.
            if (download.expired()) {
                if (!response.filePath.isEmpty())
                    QFile::remove(response.filePath);
                return;
            }
            m_download.reset();
            m_abortDownload = nullptr;
            if (response.tooLarge) {
                fail(UpgradeReason(UpgradeReason::Code::DownloadTooLarge, { mebibytesText(m_limits.maxBytes) }));
                return;
            }
            if (response.tooSlow) {
                fail(UpgradeReason(UpgradeReason::Code::DownloadTooSlow,
                    { QString::number(double(m_limits.minBytesPerSecond) / 1024.0),
                        QString::number(m_limits.slowSeconds * MainQueue::timeScale()) }));
                return;
            }
            // A name or a disk of ours is not the network's fault.
            if (response.nameRefused) {
                fail(UpgradeReason(UpgradeReason::Code::DownloadNameRefused, { downloadName(m_release.version) }));
                return;
            }
            if (response.writeFailed) {
                fail(UpgradeReason(UpgradeReason::Code::DownloadWriteFailed, { response.error }));
                return;
            }
            if (!response.error.isEmpty()) {
                fail(UpgradeReason(UpgradeReason::Code::DownloadFailed));
                return;
            }
            downloadFinished(response.filePath);
        },
        [this, download](qint64 received, qint64 total) {
            if (download.expired())
                return;
            if (auto progress = m_hooks.progress; progress)
                progress(received, total);
        });
}

void ReleaseFetcher::downloadFinished(const QString& filePath)
{
    if (auto step = m_hooks.step; step)
        step(Step::DigestCheck);
    // The signature covers the SHA-256, not the MD5: an archive replaced
    // together with its MD5 is caught here, before anything is unpacked; and
    // with a signature to check, an archive other than the signed one is
    // named as such, not as a damaged download worth trying again.
    const bool trusted = ReleaseSignature::hasTrustedKeys();
    if (trusted) {
        const UpgradeReason refusal = signatureRefusal(m_release);
        if (!refusal.isNone() || FileHash::sha256HashOfFileAtPath(filePath) != m_release.sha256) {
            QFile::remove(filePath);
            fail(refusal.isNone() ? UpgradeReason(UpgradeReason::Code::ArchiveNotSigned) : refusal);
            return;
        }
    }
    const QString md5 = FileHash::md5HashOfFileAtPath(filePath);
    if (md5.isNull() || md5.toLower() != m_release.md5.toLower()) {
        QFile::remove(filePath); // a damaged download is not kept
        fail(UpgradeReason(UpgradeReason::Code::DigestMismatch));
        return;
    }
    const QString folderName = QFileInfo(filePath).completeBaseName();
    if (QString reason; !DownloadStore::in(m_documents).recordDownload(m_release.version, folderName, &reason))
        recordNotSaved(reason);
    const QString releaseFolder = m_documents.remoteProductFolder() + QLatin1Char('/') + folderName;
    if (auto step = m_hooks.step; step)
        step(Step::Unpack);
    // A checked archive is unpacked into an empty folder: an image left there
    // by an earlier, unchecked download must not complete a release that
    // lacks it.
    if (trusted)
        QDir(releaseFolder).removeRecursively();
    QDir().mkpath(releaseFolder);
    QString unzipError;
    switch (ZipArchive::unzip(filePath, releaseFolder, &unzipError)) {
    case ZipArchive::Result::Ok:
        break;
    case ZipArchive::Result::WriteFailed:
        // A sound archive on a disk that cannot take its images.
        fail(UpgradeReason(UpgradeReason::Code::DownloadWriteFailed, { unzipError }));
        return;
    default:
        fail(UpgradeReason(UpgradeReason::Code::UnzipFailed));
        return;
    }
    finishIn(releaseFolder);
}
