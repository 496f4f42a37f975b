#include "upgrade/TransferState.h"

#include <QFile>

namespace {
// The boot loader's region starts kBootRegionOffset bytes into its file.
quint64 regionOffset(UpgradePlan::Image image)
{
    return image == UpgradePlan::Image::BootLoader ? TransferState::kBootRegionOffset : 0;
}
}

std::optional<QByteArray> TransferState::readFile(const QString& path, UpgradePlan::Image image)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A region must fit the 16-bit fields: read no more than can be sent.
    const quint64 skip = regionOffset(image);
    QByteArray data = file.read(qint64(skip + kMaxRegionSize + 1));
    if (file.error() != QFile::NoError)
        return std::nullopt;
    return data;
}

TransferState::LoadResult TransferState::load(const std::optional<QByteArray>& file, UpgradePlan::Image image)
{
    if (!file)
        return LoadResult::Unreadable;
    const quint64 skip = regionOffset(image);
    QByteArray data = *file;
    const quint64 length = quint64(data.size());
    if (length <= skip)
        return LoadResult::Empty;
    if (length - skip > kMaxRegionSize)
        return LoadResult::TooLarge;
    binFiledata = std::move(data);
    binFilebytees = reinterpret_cast<const uint8_t*>(binFiledata.constData());
    kBytesCount = length - skip;
    kSendedIndex = 0;
    kSendedBytes = 0;
    kPackageCount = kBytesCount / kPayloadSize + 1;
    kLastPackageBytesCount = kBytesCount % kPayloadSize;
    return LoadResult::Ok;
}

bool TransferState::nextIsFull() const
{
    return kSendedIndex + 1 < kPackageCount || (kSendedIndex + 1 == kPackageCount && kLastPackageBytesCount == 0);
}

bool TransferState::nextIsLast() const
{
    return kSendedIndex + 1 == kPackageCount && kLastPackageBytesCount > 0;
}

const QByteArray& TransferState::buildPacket(ControllerProtocol::Message kind, bool last, UpgradePlan::Image image)
{
    const quint64 length = last ? kLastPackageBytesCount : kPayloadSize;
    packet.resize(qsizetype(kPacketHeaderSize + length));
    auto* p = reinterpret_cast<uint8_t*>(packet.data());
    ControllerProtocol::writeDataHeader(p, kind, uint8_t(length), kSendedBytes);
    ControllerProtocol::copyPayload(
        p + kPacketHeaderSize, binFilebytees, kSendedIndex, length, image == UpgradePlan::Image::BootLoader);
    return packet;
}

float TransferState::sentFraction() const
{
    return kBytesCount ? float(kSendedBytes) / float(kBytesCount) : 0.0f;
}

double TransferState::progressPercent(
    UpgradePlan::Image image, double fraction, bool bootNeeded, bool leftNeeded, bool rightNeeded)
{
    // The bar is shared out in the order boot loader, left, right; the scaled
    // fraction is rounded to single precision, then taken to percent.
    double base = 0.0;
    double scale = 1.0;
    switch (image) {
    case UpgradePlan::Image::BootLoader:
        scale = leftNeeded && rightNeeded ? 0.1 : leftNeeded ? 0.2 : rightNeeded ? 0.3 : 1.0;
        break;
    case UpgradePlan::Image::Left:
        if (bootNeeded && rightNeeded) {
            base = 0.1;
            scale = 0.5;
        } else if (rightNeeded) {
            scale = 0.5;
        } else if (bootNeeded) {
            base = 0.2;
            scale = 0.8;
        }
        break;
    case UpgradePlan::Image::Right:
        if (bootNeeded && leftNeeded) {
            base = 0.6;
            scale = 0.4;
        } else if (bootNeeded) {
            base = 0.3;
            scale = 0.7;
        } else if (leftNeeded) {
            base = 0.5;
            scale = 0.5;
        }
        break;
    }
    const float scaled = float(base + scale * fraction);
    return double(scaled) * 100.0;
}
