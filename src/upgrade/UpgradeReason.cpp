#include "upgrade/UpgradeReason.h"

#include "platform/runtime/Localization.h"

#include <utility>

namespace {

using Code = UpgradeReason::Code;

struct Entry {
    Code code;
    const char* name;
    const char* key;
};

// The names are stored in the history and printed by the tools: they never change.
constexpr Entry kEntries[] = {
    { Code::AlreadyRunning, "AlreadyRunning", "UpgradeAlreadyRunning" },
    { Code::NoController, "NoController", "ConnectGamepadPropmt" },
    { Code::ControllerNotIdentified, "ControllerNotIdentified", "UnplugDevicePrompt" },
    { Code::Cancelled, "Cancelled", "UpgradeCancelled" },
    { Code::RestartWaitStopped, "RestartWaitStopped", "RestartWaitStopped" },
    { Code::CancelledAfterImage, "CancelledAfterImage", "UpgradeCancelledAfterImage" },
    { Code::ImageInvalid, "ImageInvalid", "FirmwareIsInvalid" },
    { Code::ImageUnsendable, "ImageUnsendable", "ImageUnsendable" },
    { Code::ChecksumRejected, "ChecksumRejected", "ChecksumRejected" },
    { Code::StoppedResponding, "StoppedResponding", "TransferStalled" },
    { Code::DidNotReturn, "DidNotReturn", "ControllerDidNotReturn" },
    { Code::DifferentControllerReturned, "DifferentControllerReturned", "DifferentControllerReturned" },
    { Code::OtherControllerAttached, "OtherControllerAttached", "OtherControllerAttached" },
    { Code::Disconnected, "Disconnected", "GamepadDisconnectManuallyPrompt" },
    { Code::VersionsMismatch, "VersionsMismatch", "VersionsMismatch" },
    { Code::VersionsNotRead, "VersionsNotRead", "VersionsNotRead" },
    { Code::VersionSame, "VersionSame", "FirmwareVersionSamePropmt" },
    { Code::ControllerFirmwareDamaged, "ControllerFirmwareDamaged", "GamepadFirmwareDamaged" },
    { Code::ReleaseDamaged, "ReleaseDamaged", "SelectedDamagedFirmware" },
    { Code::ReleaseNotSigned, "ReleaseNotSigned", "ReleaseNotSigned" },
    { Code::SignatureInvalid, "SignatureInvalid", "ReleaseSignatureInvalid" },
    { Code::ReleaseFilesMissing, "ReleaseFilesMissing", "UpgradeFailedNeedNewFirmware" },
    { Code::ReleaseIncomplete, "ReleaseIncomplete", "ReleaseLacksImage" },
    { Code::DownloadTooLarge, "DownloadTooLarge", "DownloadTooLarge" },
    { Code::DownloadTooSlow, "DownloadTooSlow", "DownloadTooSlow" },
    { Code::DownloadFailed, "DownloadFailed", "DownloadFirmwareFailed" },
    { Code::DownloadNameRefused, "DownloadNameRefused", "DownloadNameRefused" },
    { Code::DownloadWriteFailed, "DownloadWriteFailed", "DownloadWriteFailed" },
    { Code::DigestMismatch, "DigestMismatch", "DownloadDigestMismatch" },
    { Code::ArchiveNotSigned, "ArchiveNotSigned", "DownloadNotSignedArchive" },
    { Code::UnzipFailed, "UnzipFailed", "UnzipFailed" },
};

const Entry* entryFor(Code code)
{
    for (const Entry& e : kEntries)
        if (e.code == code)
            return &e;
    return nullptr;
}

} // namespace

UpgradeReason::UpgradeReason(Code code, QStringList arguments)
    : m_code(code)
    , m_arguments(std::move(arguments))
{
}

QString UpgradeReason::text() const
{
    const char* key = textKey(m_code);
    if (!key)
        return QString();
    const QString text = localized(key);
    // All at once, so that a value holding "%2" is not read as a marker.
    switch (m_arguments.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(m_arguments[0]);
    case 2:
        return text.arg(m_arguments[0], m_arguments[1]);
    default:
        return text.arg(m_arguments[0], m_arguments[1], m_arguments[2]);
    }
}

QString UpgradeReason::name() const
{
    return nameOf(m_code);
}

QString UpgradeReason::nameOf(Code code)
{
    const Entry* e = entryFor(code);
    return e ? QString::fromLatin1(e->name) : QString();
}

std::optional<UpgradeReason::Code> UpgradeReason::fromName(const QString& name)
{
    for (const Entry& e : kEntries)
        if (name == QLatin1String(e.name))
            return e.code;
    return std::nullopt;
}

bool UpgradeReason::saysNothingWasSent() const
{
    switch (m_code) {
    case Code::ReleaseNotSigned:
    case Code::SignatureInvalid:
    case Code::ArchiveNotSigned:
    case Code::ImageUnsendable:
    case Code::DownloadTooSlow:
    case Code::ReleaseIncomplete:
    case Code::DownloadNameRefused:
    case Code::OtherControllerAttached:
        return true;
    default:
        return false;
    }
}

const char* UpgradeReason::textKey(Code code)
{
    const Entry* e = entryFor(code);
    return e ? e->key : nullptr;
}
