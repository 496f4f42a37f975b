#pragma once

#include "sim/SimDevice.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QRandomGenerator>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// One side's firmware version as the controller reports it (major.minor).
struct SimVersion {
    uint8_t major = 0;
    uint8_t minor = 0;
    QString text() const { return QStringLiteral("%1.%2").arg(major).arg(minor); }
    bool operator==(const SimVersion&) const = default;
};

// Faults the model injects into its own behaviour. Counters fire on the next
// matching events and count down; rates draw from the seeded generator.
struct SimFaults {
    int replyDelayMs = 0; // every reply leaves this long after its request
    // Replies to requests that begin with these two bytes (e.g. "\x80\x83")
    // leave this much later again: a controller busy with its flash.
    QHash<QByteArray, int> requestDelayMs;
    int dropReplies = 0; // the next N replies are never sent
    int duplicateReplies = 0; // the next N replies are sent twice, the copy in a write of its own
    // The next N replies leave in pieces of splitSize bytes (in two halves
    // when 0), a few ms apart, as a serial adapter hands them over.
    int splitReplies = 0;
    int splitSize = 0;
    int splitGapMs = 3; // long enough for the host to see separate reads
    // The next N replies are held and leave in one piece with the following
    // one; with a window of 0 or more ms, one that nothing follows within it
    // leaves on its own then.
    int mergeReplies = 0;
    int mergeWindowMs = -1;
    int corruptReplies = 0; // the next N replies have one byte flipped
    // A byte of line noise (one that begins no message) goes out before the
    // first reply of every attachment, as a port that has just been opened picks up.
    bool strayByteOnAttach = false;
    bool refuseStart = false; // start commands (left 0x03 0x01 T, right 0x20 0x9E) are refused
    bool refuseChecksum = false; // the right side's checksum command (0x20 0x92) is refused
    bool refuseEnd = false; // end commands (right 0x20 0x93, left 0x80 0x83) are refused
    int unplugAtPacket = -1; // drop the attachment on receiving data packet N of an exchange (0-based)
    int unplugReturnMs = 1000; // after a fault unplug, come back after this long (-1: never)
    int restartDelayMs = 1000; // after a left end command, come back after this long (-1: never)

    // Random faults for soak runs: the probability (0..1) of each fault per
    // reply; a split reply leaves in pieces of splitSize bytes.
    double dropRate = 0, duplicateRate = 0, splitRate = 0, mergeRate = 0, corruptRate = 0;
    int maxRandomDelayMs = 0; // each reply gets an extra delay in [0, max]
};

// A device model of the controller: it parses the host's requests from a byte
// stream in any chunking, keeps a right-side flash and a left-side flash (boot
// loader region and application region), answers as the controller does and
// restarts after a left-side end command. It knows nothing of transports: the
// owner wires replySink, detachRequested and attachRequested.
//
// Start and length commands are not required: an image shorter than one
// packet goes out without them. Data that no start opened begins a new image
// at offset 0 (and after a committed one); on the left side it goes to the
// application region, the target no start named, and its length is what was
// programmed.
class SimulatedController : public SimDevice {
    Q_OBJECT
public:
    // The device information record's fields other than the versions.
    struct DeviceInfo {
        std::array<uint8_t, 6> btAddress { 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC };
        SimVersion hardware { 1, 5 };
        SimVersion bluetooth { 2, 1 };
        SimVersion protocol { 1, 2 };
        uint16_t year = 2021;
        uint8_t month = 3;
        uint8_t day = 9;
    };

    // Images may carry a trailer by which the model learns their version:
    // the last 8 bytes are "Q3DV", major, minor, and two zero bytes.
    static constexpr int kTrailerSize = 8;
    static QByteArray versionTrailer(SimVersion version);
    static std::optional<SimVersion> versionFromTrailer(const QByteArray& image);

    explicit SimulatedController(QObject* parent = nullptr);
    ~SimulatedController() override;

    // "B-L-R", e.g. "1.0-2.3-1.5"; false when the text is malformed.
    bool setVersions(const QString& bootLeftRight);
    QString versionsText() const;
    SimVersion bootVersion() const;
    SimVersion leftVersion() const;
    SimVersion rightVersion() const;
    DeviceInfo& deviceInfo();

    // Flash contents as last written by complete, verified exchanges.
    QByteArray rightFlash() const;
    QByteArray leftApplicationFlash() const;
    QByteArray bootLoaderFlash() const;

    SimFaults& faults();
    // The faults a command line names (q3dart-sim's --refuse-checksum,
    // --refuse-end, --silent-end and --fault).
    enum class Fault { RefuseChecksum, RefuseEnd, SilentEnd };
    // The fault of a name ("refuse-checksum", "refuse-end", "silent-end"), if any.
    static std::optional<Fault> faultNamed(const QString& name);
    void inject(Fault fault);
    void setSeed(quint32 seed);
    // Whether replies are still on their way: queued, or held back to merge
    // with the next one.
    bool hasPendingReplies() const;
    // Sends a reply held back for merging now, on its own, as a link that
    // stops coalescing would.
    void releaseHeldReply();

    // Bytes from the host, in any chunking.
    void receive(const QByteArray& bytes) override;

    // Attachment state as the model sees it.
    bool isAttached() const;
    // Unplug now (the owner drops the attachment); plugIn() brings it back.
    void unplug(int returnAfterMs = -1);
    void plugIn() override;

    // Every request the model has parsed, in order, as raw message bytes.
    const QList<QByteArray>& receivedMessages() const;
    int restartCount() const;

signals:
    // A side's flash was written by a completed exchange.
    void flashWritten();
    // A request was parsed, before it is answered.
    void messageReceived(const QByteArray& message);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
