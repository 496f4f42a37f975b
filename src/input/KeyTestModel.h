#pragma once

#include "input/KestGameControllerManager.h"

#include <QObject>
#include <QPointF>

#include <array>

// What the key test shows, as values: whether each key is held and where
// each stick stands. It takes the reports of the game-controller manager's
// key and stick slots; the key test screen only draws it.
class KeyTestModel : public QObject {
    Q_OBJECT
public:
    using Key = KestGameControllerManager::Key;
    using Stick = KestGameControllerManager::Stick;

    // Takes over the manager's key and stick slots; they do nothing once the
    // model is gone.
    explicit KeyTestModel(KestGameControllerManager& manager, QObject* parent = nullptr);

    bool isPressed(Key key) const { return m_pressed[size_t(key)]; }
    // -1..1 on each axis, y growing upward, as the controller reports it.
    QPointF stickPosition(Stick stick) const { return m_sticks[size_t(stick)]; }

    // A key's report: told on every one, pressed again or not, since a key
    // with an analogue value reports each change of it.
    void setKeyPressed(Key key, bool pressed);
    // A stick's movement since its previous report: the position is their
    // sum, so movements of less than a pixel add up.
    void moveStick(Stick stick, float dx, float dy);

signals:
    void keyReported(KeyTestModel::Key key, bool pressed);
    void stickMoved(KeyTestModel::Stick stick);

private:
    std::array<bool, KestGameControllerManager::kKeyCount> m_pressed {};
    std::array<QPointF, 2> m_sticks {};
};
