#include "cli/CliOptions.h"

#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/HttpClient.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <cstdio>

ZelFirmwareUpgradeManager::Settings CliOptions::engineSettings() const
{
    // The engine's limits are scaled like all its timers: divided here, they
    // last what was asked.
    ZelFirmwareUpgradeManager::Settings settings;
    if (maxDownloadMiB > 0)
        settings.maxDownloadBytes = qint64(maxDownloadMiB * 1024 * 1024);
    if (restartWaitSeconds >= 0)
        settings.restartWait = restartWaitSeconds / MainQueue::timeScale();
    if (silenceLimitSeconds >= 0)
        settings.transferSilence = silenceLimitSeconds / MainQueue::timeScale();
    if (slowDownloadSeconds >= 0)
        settings.slowDownloadSeconds = slowDownloadSeconds / MainQueue::timeScale();
    return settings;
}

void CliOptions::applyEngineLimits() const
{
    if (listDeadlineSeconds >= 0)
        services.catalogue().listDeadline = listDeadlineSeconds / MainQueue::timeScale();
    if (restartWaitSeconds < 0 && silenceLimitSeconds < 0 && maxDownloadMiB < 0 && slowDownloadSeconds < 0)
        return;
    ZelFirmwareUpgradeManager::setSharedSettings(engineSettings());
}

bool CliOptions::applyTrust(int* exitCode) const
{
    if (QString error; !ReleaseSignature::checkInformation(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        *exitCode = Failed;
        return false;
    }
    for (const QString& key : trustKeys + trustRoots) {
        if (!(trustKeys.contains(key) ? ReleaseSignature::addTrustedKey(key) : ReleaseSignature::addTrustedRoot(key))) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("TrustKeyInvalid").arg(key)));
            *exitCode = Usage;
            return false;
        }
    }
    if (!caFile.isEmpty() && !HttpClient::addCaCertificates(caFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("CaFileInvalid").arg(caFile)));
        *exitCode = Usage;
        return false;
    }
    return true;
}
