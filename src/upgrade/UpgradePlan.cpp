#include "upgrade/UpgradePlan.h"

#include "platform/runtime/Localization.h"
#include "upgrade/TransferState.h"

#include <QFileInfo>

namespace {

qint64 fileSize(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isReadable() ? info.size() : -1;
}

} // namespace

QString UpgradePlan::imageName(Image image)
{
    switch (image) {
    case Image::BootLoader:
        return localized("StepImageBootLoader");
    case Image::Left:
        return localized("StepImageLeft");
    case Image::Right:
        break;
    }
    return localized("StepImageRight");
}

UpgradePlan UpgradePlan::make(Need need, const Paths& paths)
{
    UpgradePlan plan = fromFileSizes(need, fileSize(paths.boot), fileSize(paths.left), fileSize(paths.right));
    for (Step& step : plan.m_steps)
        step.path = step.image == Image::BootLoader ? paths.boot : step.image == Image::Left ? paths.left : paths.right;
    return plan;
}

UpgradePlan UpgradePlan::fromFileSizes(Need need, qint64 bootFile, qint64 leftFile, qint64 rightFile)
{
    UpgradePlan plan;
    const auto add = [&plan](bool needed, Image image, qint64 file) {
        if (!needed) {
            plan.m_skipped.append(image);
            return;
        }
        Step step;
        step.image = image;
        step.bytes = sentBytes(image, file);
        step.messages = messagesFor(image, step.bytes);
        step.restartsAfter = image != Image::Right;
        plan.m_steps.append(step);
    };
    add(need.boot, Image::BootLoader, bootFile);
    add(need.left, Image::Left, leftFile);
    add(need.right, Image::Right, rightFile);
    return plan;
}

qint64 UpgradePlan::sentBytes(Image image, qint64 fileBytes)
{
    if (fileBytes < 0)
        return -1;
    if (image != Image::BootLoader)
        return fileBytes;
    return std::max<qint64>(0, fileBytes - qint64(TransferState::kBootRegionOffset));
}

int UpgradePlan::messagesFor(Image image, qint64 sentBytes)
{
    if (sentBytes < 0)
        return -1;
    const qint64 payload = qint64(TransferState::kPayloadSize);
    const qint64 packets = sentBytes / payload + (sentBytes % payload ? 1 : 0);
    const bool announced = sentBytes >= payload;
    if (image == Image::Right)
        return int((announced ? 1 : 0) + packets + 2);
    return int((announced ? 2 : 0) + 2 * packets + 1);
}

int UpgradePlan::restarts() const
{
    int count = 0;
    for (const Step& step : m_steps)
        count += step.restartsAfter ? 1 : 0;
    return count;
}

int UpgradePlan::totalMessages() const
{
    int total = 0;
    for (const Step& step : m_steps) {
        if (step.messages < 0)
            return -1;
        total += step.messages;
    }
    return total;
}

qint64 UpgradePlan::totalBytes() const
{
    qint64 total = 0;
    for (const Step& step : m_steps) {
        if (step.bytes < 0)
            return -1;
        total += step.bytes;
    }
    return total;
}

int UpgradePlan::indexOf(Image image) const
{
    for (qsizetype i = 0; i < m_steps.size(); ++i)
        if (m_steps.at(i).image == image)
            return int(i);
    return -1;
}
