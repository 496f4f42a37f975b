// The release choice of the upgrade engine: which parts of the controller
// need the selected release, and finding, fetching, checking and unpacking it.
#include "firmware/DownloadStore.h"
#include "firmware/FileHash.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmware.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/HttpClient.h"
#include "lib/MessageToast.h"
#include "lib/ZipArchive.h"
#include "platform/runtime/DocumentFiles.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

const QString kArchiveSuffix = QStringLiteral(".zip");

bool isRemote(const QString& url)
{
    return url.startsWith(QLatin1String("http"));
}

QString remoteProductFolder()
{
    return DownloadStore::releasesFolder();
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
bool mayStoreDownloadAs(const QString& name, const QString& version)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || DocumentFiles::isOwnName(name))
        return false;
    const QString folder = QFileInfo(name).completeBaseName();
    const QHash<QString, QString> records = DownloadStore::inDocuments().records();
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        if (it.key() != version && it.value().compare(folder, Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

// Tells the user a record could not be saved; the run goes on without it.
void recordNotSaved(const QString& reason)
{
    MessageToast::showMsgWithtext(
        localized("DownloadRecordNotSaved").arg(reason), ZelFirmwareUpgradeManager::kFailureSeconds * 2);
}

// The image files a release folder lacks, by name.
QString missingImages(const QString& folder)
{
    QStringList missing;
    for (const QString& name : { ZelFirmwareUpgradeManager::kBootFileName, ZelFirmwareUpgradeManager::kLeftFileName,
             ZelFirmwareUpgradeManager::kRightFileName })
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

void ZelFirmwareUpgradeManager::setSelectedFirmware(const ZelFirmware* firmware)
{
    // Another release ends the download of the one chosen before.
    if (isDownloading() && (!firmware || firmware->version != m_latestFirmwareVersion)) {
        cancelRun();
        if (auto hook = m_runHooks.cancelled; hook)
            hook();
    }
    m_hasSelectedFirmware = true;
    m_latestFirmwareVersion = firmware ? firmware->version : QString();
    m_latestFirmwareUrl = firmware ? firmware->path : QString();
    m_latestFirmwareMD5 = firmware ? firmware->md5 : QString();
    m_latestFirmwareSHA256 = firmware ? firmware->sha256 : QString();
    m_latestFirmwareSignature = firmware ? firmware->signature : QString();
    m_latestFirmwareListed = firmware && firmware->listed;
}

void ZelFirmwareUpgradeManager::offerRelease(const ZelFirmware* firmware)
{
    setSelectedFirmware(firmware);
    m_hasSelectedFirmware = false;
}

UpgradeReason ZelFirmwareUpgradeManager::signatureRefusal() const
{
    ZelFirmware selected;
    selected.version = m_latestFirmwareVersion;
    selected.sha256 = m_latestFirmwareSHA256;
    selected.signature = m_latestFirmwareSignature;
    switch (ReleaseSignature::status(selected)) {
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

ZelFirmwareCheckResult ZelFirmwareUpgradeManager::checkFirmware()
{
    if (!m_accessory)
        return ZelFirmwareCheckNoGamepad;
    const std::optional<ReleaseVersion> release = ReleaseVersion::parse(m_latestFirmwareVersion);
    if (!release)
        return ZelFirmwareCheckSelectedFirmwareDamaged;
    if (m_bootVersion.isNull() || m_leftVersion.isNull() || m_rightVersion.isNull())
        return ZelFirmwareCheckGamepadFirmwareDamaged;
    const std::optional<FirmwareVersion> boot = FirmwareVersion::parse(m_bootVersion);
    const std::optional<FirmwareVersion> left = FirmwareVersion::parse(m_leftVersion);
    const std::optional<FirmwareVersion> right = FirmwareVersion::parse(m_rightVersion);
    if (!boot || !left || !right)
        return ZelFirmwareCheckGamepadFirmwareDamaged;
    const FirmwareVersion selected[3] = { release->boot, release->left, release->right };
    const FirmwareVersion current[3] = { *boot, *left, *right };
    bool* needs[3] = { &m_bootNeedUpgrade, &m_leftNeedUpgrade, &m_rightNeedUpgrade };
    const bool remote = isRemote(m_latestFirmwareUrl);
    if (remote)
        for (int i = 0; i < 3; ++i)
            *needs[i] = selected[i] > current[i];
    // A release the user picked is installed whenever it differs, also when older.
    if (!(remote && !m_hasSelectedFirmware))
        for (int i = 0; i < 3; ++i)
            *needs[i] = selected[i] != current[i];
    return m_bootNeedUpgrade || m_leftNeedUpgrade || m_rightNeedUpgrade ? ZelFirmwareCheckNeedUpgrade
                                                                        : ZelFirmwareCheckVersionSame;
}

void ZelFirmwareUpgradeManager::startUpgrade()
{
    // One run at a time: a second start would interleave two transfers on the
    // controller's flash.
    if (m_isUpgradingFirmware)
        return;
    if (checkFirmware() != ZelFirmwareCheckNeedUpgrade)
        return;
    m_isUpgradingFirmware = true;
    m_bootUpgradeDone = m_leftUpgradeDone = m_rightUpgradeDone = false;
    // With a key trusted, an entry of the online list installs only from a
    // download checked against its signed digest, whatever its fields say: one
    // naming a folder (an old unpacked download, say) has nothing to check.
    if (m_latestFirmwareListed && ReleaseSignature::hasTrustedKeys() && !isRemote(m_latestFirmwareUrl)) {
        failRun(UpgradeReason(UpgradeReason::Code::ReleaseNotSigned), kFailureSeconds);
        return;
    }
    if (!m_latestFirmwareMD5.isEmpty() || isRemote(m_latestFirmwareUrl)) {
        upgradeWithRemoteFile();
        return;
    }
    if (checkIfExitLocalFileWithPath(m_latestFirmwareUrl))
        upgradeWithLocalFile();
    else
        failRun(UpgradeReason(UpgradeReason::Code::ReleaseFilesMissing), kFailureSeconds);
}

bool ZelFirmwareUpgradeManager::checkIfExitLocalFileWithPath(const QString& folder)
{
    int found = 0;
    if (folder.isEmpty())
        return false;
    for (const QString& name :
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        QString* field = name == kLeftFileName ? &m_leftFilePath
            : name == kRightFileName           ? &m_rightFilePath
            : name == kBootFileName            ? &m_bootFilePath
                                               : nullptr;
        if (!field)
            continue;
        *field = folder + QLatin1Char('/') + name;
        ++found;
    }
    return found == 3;
}

void ZelFirmwareUpgradeManager::upgradeWithLocalFile()
{
    if (m_bootNeedUpgrade)
        upgradeBoot();
    else if (m_leftNeedUpgrade)
        upgradeLeftSide();
    else if (m_rightNeedUpgrade)
        upgradeRightSide();
}

void ZelFirmwareUpgradeManager::upgradeWithRemoteFile()
{
    // With a trusted key, a release whose signature does not verify is not
    // even fetched; and an earlier download is not reused, since nothing shows
    // that it came from an archive with the signed digest: the release is
    // fetched again and checked.
    const bool trusted = ReleaseSignature::hasTrustedKeys();
    if (trusted) {
        if (const UpgradeReason refusal = signatureRefusal(); !refusal.isNone()) {
            failRun(refusal, kFailureSeconds);
            return;
        }
    }
    makeFolder(DocumentFiles::path(DocumentFiles::kRemoteReleases));
    makeFolder(remoteProductFolder());
    DownloadStore store = DownloadStore::inDocuments();
    const QString recorded = store.folderForVersion(m_latestFirmwareVersion);
    if (!recorded.isNull() && !trusted) {
        if (checkIfExitLocalFileWithPath(remoteProductFolder() + QLatin1Char('/') + recorded)) {
            upgradeWithLocalFile();
            return;
        }
        // The unpacked release lost an image: forget it, so the next start downloads it again.
        if (QString reason; !store.removeVersion(m_latestFirmwareVersion, &reason) && !reason.isEmpty())
            recordNotSaved(reason);
        failRun(UpgradeReason(UpgradeReason::Code::ReleaseIncomplete,
                    { missingImages(remoteProductFolder() + QLatin1Char('/') + recorded) }),
            kFailureSeconds);
        return;
    }
    const QString documents = DocumentsDirectory::path();
    const QString version = m_latestFirmwareVersion;
    abortDownload();
    const quint64 download = m_downloadId;
    notifyPhase(ZelUpgradePhase::Download);
    HttpClient::Limits limits;
    limits.silenceSeconds = m_settings.downloadSilence;
    limits.minBytesPerSecond = m_settings.minDownloadBytesPerSecond;
    limits.slowSeconds = m_settings.slowDownloadSeconds;
    limits.maxBytes = m_settings.maxDownloadBytes;
    m_abortDownload = HttpClient::download(
        QUrl(m_latestFirmwareUrl),
        [documents, version](const HttpClient::Response&) {
            // An empty path refuses the download before anything is written.
            const QString name = downloadName(version);
            if (!mayStoreDownloadAs(name, version))
                return QString();
            return documents + QLatin1Char('/') + name;
        },
        limits,
        [this, download](const HttpClient::Response& response) {
            // A download that was aborted, or whose run has ended, is not used.
            if (download != m_downloadId || !m_isUpgradingFirmware) {
                if (!response.filePath.isEmpty())
                    QFile::remove(response.filePath);
                return;
            }
            m_abortDownload = nullptr;
            if (response.tooLarge) {
                failRun(UpgradeReason(
                            UpgradeReason::Code::DownloadTooLarge, { mebibytesText(m_settings.maxDownloadBytes) }),
                    kFailureSeconds);
                return;
            }
            if (response.tooSlow) {
                failRun(UpgradeReason(UpgradeReason::Code::DownloadTooSlow,
                            { QString::number(double(m_settings.minDownloadBytesPerSecond) / 1024.0),
                                QString::number(m_settings.slowDownloadSeconds * MainQueue::timeScale()) }),
                    kFailureSeconds);
                return;
            }
            // A name or a disk of ours is not the network's fault.
            if (response.nameRefused) {
                failRun(
                    UpgradeReason(UpgradeReason::Code::DownloadNameRefused, { downloadName(m_latestFirmwareVersion) }),
                    kFailureSeconds);
                return;
            }
            if (response.writeFailed) {
                failRun(UpgradeReason(UpgradeReason::Code::DownloadWriteFailed, { response.error }), kFailureSeconds);
                return;
            }
            if (!response.error.isEmpty()) {
                failRun(UpgradeReason(UpgradeReason::Code::DownloadFailed), kFailureSeconds);
                return;
            }
            downloadFinished(response.filePath);
        },
        [this](qint64 received, qint64 total) {
            if (m_runHooks.downloadProgress)
                m_runHooks.downloadProgress(received, total);
        });
}

void ZelFirmwareUpgradeManager::downloadFinished(const QString& filePath)
{
    notifyPhase(ZelUpgradePhase::DigestCheck);
    // The signature covers the SHA-256, not the MD5: an archive replaced
    // together with its MD5 is caught here, before anything is unpacked; and
    // with a signature to check, an archive other than the signed one is
    // named as such, not as a damaged download worth trying again.
    if (ReleaseSignature::hasTrustedKeys()) {
        const UpgradeReason refusal = signatureRefusal();
        if (!refusal.isNone() || FileHash::sha256HashOfFileAtPath(filePath) != m_latestFirmwareSHA256) {
            QFile::remove(filePath);
            failRun(refusal.isNone() ? UpgradeReason(UpgradeReason::Code::ArchiveNotSigned) : refusal, kFailureSeconds);
            return;
        }
    }
    const QString md5 = FileHash::md5HashOfFileAtPath(filePath);
    if (md5.isNull() || md5.toLower() != m_latestFirmwareMD5.toLower()) {
        QFile::remove(filePath); // a damaged download is not kept
        failRun(UpgradeReason(UpgradeReason::Code::DigestMismatch), kFailureSeconds);
        return;
    }
    const QString folderName = QFileInfo(filePath).completeBaseName();
    if (QString reason; !DownloadStore::inDocuments().recordDownload(m_latestFirmwareVersion, folderName, &reason))
        recordNotSaved(reason);
    const QString releaseFolder = remoteProductFolder() + QLatin1Char('/') + folderName;
    notifyPhase(ZelUpgradePhase::Unpack);
    // A checked archive is unpacked into an empty folder: an image left there
    // by an earlier, unchecked download must not complete a release that
    // lacks it.
    if (ReleaseSignature::hasTrustedKeys())
        QDir(releaseFolder).removeRecursively();
    QDir().mkpath(releaseFolder);
    QString unzipError;
    switch (ZipArchive::unzip(filePath, releaseFolder, &unzipError)) {
    case ZipArchive::Result::Ok:
        break;
    case ZipArchive::Result::WriteFailed:
        // A sound archive on a disk that cannot take its images.
        failRun(UpgradeReason(UpgradeReason::Code::DownloadWriteFailed, { unzipError }), kFailureSeconds);
        return;
    default:
        failRun(UpgradeReason(UpgradeReason::Code::UnzipFailed), kFailureSeconds);
        return;
    }
    if (checkIfExitLocalFileWithPath(releaseFolder)) {
        upgradeWithLocalFile();
        return;
    }
    // Forgotten at once: kept, the next start would find the same gap in its
    // folder instead of downloading the release again.
    if (QString reason;
        !DownloadStore::inDocuments().removeVersion(m_latestFirmwareVersion, &reason) && !reason.isEmpty())
        recordNotSaved(reason);
    failRun(UpgradeReason(UpgradeReason::Code::ReleaseIncomplete, { missingImages(releaseFolder) }), kFailureSeconds);
}
