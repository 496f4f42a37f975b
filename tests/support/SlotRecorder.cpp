#include "support/SlotRecorder.h"

#include "input/KestGameControllerManager.h"
#include "support/TestSupport.h"

#include <utility>

namespace {
using Key = KestGameControllerManager::Key;

KestGameControllerManager& manager()
{
    return KestGameControllerManager::sharedInstance();
}
} // namespace

SlotRecorder::SlotRecorder()
{
    for (int k = 0; k < KestGameControllerManager::kKeyCount; ++k)
        manager().setKeyPressed(Key(k), [this, k](bool pressed) {
            events << QString::fromLatin1(KestGameControllerManager::keyName(Key(k)))
                    + (pressed ? QLatin1Char('+') : QLatin1Char('-'));
        });
    manager().setLeftJoystickChanged([this](float dx, float dy) { events << stick("left", dx, dy); });
    manager().setRightJoystickChanged([this](float dx, float dy) { events << stick("right", dx, dy); });
}

SlotRecorder::~SlotRecorder()
{
    clearSlots();
}

QString SlotRecorder::stick(const char* name, float dx, float dy)
{
    return QStringLiteral("%1(%2,%3)").arg(QLatin1String(name)).arg(double(dx)).arg(double(dy));
}

void SlotRecorder::clearSlots()
{
    for (int k = 0; k < KestGameControllerManager::kKeyCount; ++k)
        manager().setKeyPressed(Key(k), nullptr);
    manager().setLeftJoystickChanged(nullptr);
    manager().setRightJoystickChanged(nullptr);
}

QStringList SlotRecorder::take()
{
    return std::exchange(events, {});
}

QStringList SlotRecorder::take(int n)
{
    testsupport::waitUntil([&] { return events.size() >= n; });
    return take();
}
