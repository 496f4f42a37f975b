#include "firmware/LatestReleaseText.h"

#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"

#include <algorithm>

LatestReleaseText LatestReleaseText::make(
    const QList<ZelFirmware>& firmwares, const QString& error, const QString& refusal)
{
    LatestReleaseText text;
    // A release whose signature is refused is never the latest.
    const auto offered = std::find_if(firmwares.cbegin(), firmwares.cend(), &ReleaseSignature::mayInstall);
    if (offered != firmwares.cend()) {
        text.offered = *offered;
        text.value = offered->version;
        return text;
    }
    if (!refusal.isEmpty()) {
        text.value = localized("ReleaseListRefused");
        text.reason = refusal;
    } else if (!error.isEmpty()) {
        text.value = localized("ServerUnreachable");
        text.reason = localized("ServerUnreachableReason").arg(error);
        text.cause = error;
        text.retry = true;
    } else {
        text.value = localized("NoNewerVersion");
    }
    return text;
}
