#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Why an upgrade run did not complete, as a code and the values its message
// shows. The code is what programs count and store (the history, --json,
// the soak); the localised text is made from it where it is shown, in the
// language of that moment.
class UpgradeReason {
public:
    enum class Code {
        None, // the run completed
        AlreadyRunning, // another run holds the engine
        NoController, // no controller is attached
        ControllerNotIdentified, // the controller did not say who it is
        Cancelled, // the user (or a newer choice) ended the run
        RestartWaitStopped, // the user stopped waiting for the controller's restart
        CancelledAfterImage, // a cancel asked for mid-image, taken once the image was whole
        ImageInvalid, // an image file is unreadable, empty or too large
        ImageUnsendable, // the same, found before anything was sent: which image, and why
        ChecksumRejected, // the right side refused the checksum twice
        StoppedResponding, // silence past the transfer's limit
        DidNotReturn, // no return within the restart limit
        DifferentControllerReturned, // another controller came back from a restart
        OtherControllerAttached, // a new try found another controller than the one it was for
        Disconnected, // the controller was unplugged during the run
        VersionsMismatch, // the versions read back are not the release's
        VersionsNotRead, // the versions could not be read back
        VersionSame, // the controller already has the release
        ControllerFirmwareDamaged, // the controller's versions cannot be read as versions
        ReleaseDamaged, // the chosen release's version cannot be read
        ReleaseNotSigned, // a signature is required and the release has none
        SignatureInvalid, // the release's signature or signed digest does not verify
        ReleaseFilesMissing, // the release's folder lacks an image
        ReleaseIncomplete, // the unpacked release lacks an image
        DownloadTooLarge, // the archive exceeded the download limit
        DownloadTooSlow, // the archive arrived slower than the rate floor for too long
        DownloadFailed, // the archive could not be downloaded
        DownloadNameRefused, // the server's file name for the archive cannot be used
        DownloadWriteFailed, // the archive could not be stored (a full disk, say)
        DigestMismatch, // the archive's digest is not the release's
        ArchiveNotSigned, // the downloaded archive is not the one the signed list names
        UnzipFailed, // the archive could not be unpacked
    };

    UpgradeReason() = default;
    // arguments fill the message's %1, %2 … in order.
    explicit UpgradeReason(Code code, QStringList arguments = {});

    Code code() const { return m_code; }
    const QStringList& arguments() const { return m_arguments; }
    bool isNone() const { return m_code == Code::None; }
    // The message in the current language; empty for None.
    QString text() const;
    // The code as programs read it ("ChecksumRejected"); empty for None.
    QString name() const;
    static QString nameOf(Code code);
    // The code of a name; none for a name no code has (an empty one included).
    static std::optional<Code> fromName(const QString& name);
    // The localisation key of the code's message.
    static const char* textKey(Code code);
    // Whether the message itself says that nothing went to the controller:
    // a refusal before any image.
    bool saysNothingWasSent() const;

    bool operator==(const UpgradeReason&) const = default;

private:
    Code m_code = Code::None;
    QStringList m_arguments;
};
