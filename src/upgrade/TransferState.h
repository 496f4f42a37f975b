#pragma once

#include "upgrade/ControllerProtocol.h"
#include "upgrade/UpgradePlan.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The state of an image in transfer, the same for the right, left and boot
// loader exchanges (each engine keeps its own): the image bytes, the packet
// counters and the packet most recently built (acknowledgements are matched
// against it).
struct TransferState {
    static constexpr quint64 kPayloadSize = ControllerProtocol::kPayloadSize;
    static constexpr quint64 kPacketHeaderSize = ControllerProtocol::kDataHeaderSize;
    static constexpr quint64 kBootRegionOffset = ControllerProtocol::kBootRegionOffset;
    static constexpr quint64 kMaxRegionSize = ControllerProtocol::kMaxRegionSize;

    QByteArray binFiledata;
    const uint8_t* binFilebytees = nullptr;
    quint64 kBytesCount = 0;
    quint64 kPackageCount = 0;
    quint64 kLastPackageBytesCount = 0;
    quint64 kSendedIndex = 0;
    quint64 kSendedBytes = 0;
    quint64 kSendedDataSum = 0;
    QByteArray packet;

    // Why an image file cannot be sent; Ok when it can.
    enum class LoadResult { Ok, Unreadable, Empty, TooLarge };
    // The part of an image file that can matter to a transfer: no more than
    // the 16-bit fields can send, plus a byte to tell a file too large; no
    // value when the file cannot be read.
    static std::optional<QByteArray> readFile(const QString& path, UpgradePlan::Image image);
    // Loads the image read by readFile and resets the counters; the boot
    // loader's region starts kBootRegionOffset bytes into the file. Nothing
    // changes on failure.
    LoadResult load(const std::optional<QByteArray>& file, UpgradePlan::Image image);

    // Builds data packet kSendedIndex of this kind: a full packet, or the
    // short last one when `last` is set, its payload by the region rule.
    const QByteArray& buildPacket(ControllerProtocol::Message kind, bool last, UpgradePlan::Image image);

    // Whether the next packet is a full one (the continuation rule).
    bool nextIsFull() const;
    bool nextIsLast() const;

    // The progress bar value for the image being sent, given the fraction f of
    // its own band (left and boot loader: g of their two passes) and the needs.
    // The scaled fraction is rounded once to single precision, then taken to
    // percent in double precision.
    static double progressPercent(
        UpgradePlan::Image image, double fraction, bool bootNeeded, bool leftNeeded, bool rightNeeded);
    // f = kSendedBytes / kBytesCount in single precision.
    float sentFraction() const;
};
