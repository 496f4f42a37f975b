// The release choice of the upgrade engine: which parts of the controller
// need the selected release, and handing it to the release fetcher.
#include "firmware/FirmwareVersion.h"
#include "firmware/ZelFirmware.h"
#include "platform/runtime/DocumentStore.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <optional>

namespace {

bool isRemote(const QString& url)
{
    return url.startsWith(QLatin1String("http"));
}

} // namespace

void ZelFirmwareUpgradeManager::setSelectedFirmware(const ZelFirmware* firmware)
{
    // Another release ends the download of the one chosen before.
    if (isDownloading() && (!firmware || firmware->version != m_selectedRelease.version)) {
        cancelRun();
        if (auto hook = m_runHooks.cancelled; hook)
            hook();
    }
    m_hasSelectedFirmware = true;
    // What a fetch needs of the release, nothing more.
    m_selectedRelease = ZelFirmware();
    if (firmware) {
        m_selectedRelease.version = firmware->version;
        m_selectedRelease.path = firmware->path;
        m_selectedRelease.md5 = firmware->md5;
        m_selectedRelease.sha256 = firmware->sha256;
        m_selectedRelease.signature = firmware->signature;
        m_selectedRelease.listed = firmware->listed;
    }
}

void ZelFirmwareUpgradeManager::offerRelease(const ZelFirmware* firmware)
{
    setSelectedFirmware(firmware);
    m_hasSelectedFirmware = false;
}

ZelFirmwareCheckResult ZelFirmwareUpgradeManager::checkFirmware()
{
    if (!m_accessory)
        return ZelFirmwareCheckNoGamepad;
    const std::optional<ReleaseVersion> release = ReleaseVersion::parse(m_selectedRelease.version);
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
    const bool remote = isRemote(m_selectedRelease.path);
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
    m_fetcher.fetch(m_selectedRelease, DocumentStore::current(), downloadLimits(), fetchHooks());
}

bool ZelFirmwareUpgradeManager::checkIfExitLocalFileWithPath(const QString& folder)
{
    ReleaseFetcher::Images images { m_bootFilePath, m_leftFilePath, m_rightFilePath };
    const bool found = ReleaseFetcher::findImages(folder, images);
    m_bootFilePath = images.boot;
    m_leftFilePath = images.left;
    m_rightFilePath = images.right;
    return found;
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
    m_fetcher.download(m_selectedRelease, DocumentStore::current(), downloadLimits(), fetchHooks());
}

ReleaseFetcher::Limits ZelFirmwareUpgradeManager::downloadLimits() const
{
    return { m_settings.maxDownloadBytes, m_settings.downloadSilence, m_settings.minDownloadBytesPerSecond,
        m_settings.slowDownloadSeconds };
}

ReleaseFetcher::Hooks ZelFirmwareUpgradeManager::fetchHooks()
{
    ReleaseFetcher::Hooks hooks;
    hooks.step = [this](ReleaseFetcher::Step step) {
        switch (step) {
        case ReleaseFetcher::Step::Download:
            return notifyPhase(ZelUpgradePhase::Download);
        case ReleaseFetcher::Step::DigestCheck:
            return notifyPhase(ZelUpgradePhase::DigestCheck);
        case ReleaseFetcher::Step::Unpack:
            return notifyPhase(ZelUpgradePhase::Unpack);
        }
    };
    hooks.progress = [this](qint64 received, qint64 total) {
        if (auto hook = m_runHooks.downloadProgress; hook)
            hook(received, total);
    };
    hooks.ready = [this](const ReleaseFetcher::Images& images) {
        m_bootFilePath = images.boot;
        m_leftFilePath = images.left;
        m_rightFilePath = images.right;
        upgradeWithLocalFile();
    };
    hooks.failed = [this](const UpgradeReason& reason) { failRun(reason, kFailureSeconds); };
    return hooks;
}
