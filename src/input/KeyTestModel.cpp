#include "input/KeyTestModel.h"

#include <QPointer>

KeyTestModel::KeyTestModel(KestGameControllerManager& manager, QObject* parent)
    : QObject(parent)
{
    // The slots outlive a model that is destroyed (at exit, in tests): they
    // hold it weakly.
    const QPointer<KeyTestModel> self(this);
    for (int k = 0; k < KestGameControllerManager::kKeyCount; ++k) {
        const Key key = Key(k);
        manager.setKeyPressed(key, [self, key](bool pressed) {
            if (self)
                self->setKeyPressed(key, pressed);
        });
    }
    for (Stick stick : { Stick::Left, Stick::Right })
        manager.setJoystickChanged(stick, [self, stick](float dx, float dy) {
            if (self)
                self->moveStick(stick, dx, dy);
        });
}

void KeyTestModel::setKeyPressed(Key key, bool pressed)
{
    m_pressed[size_t(key)] = pressed;
    emit keyReported(key, pressed);
}

void KeyTestModel::moveStick(Stick stick, float dx, float dy)
{
    m_sticks[size_t(stick)] += QPointF(dx, dy);
    emit stickMoved(stick);
}
