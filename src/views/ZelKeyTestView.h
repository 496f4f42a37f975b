#pragma once

#include "views/ZelBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QLabel;

// The screen on which the user checks every key and both sticks: each key
// lights while held, each knob moves inside its ring as the stick moves.
class ZelKeyTestView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelKeyTestView(QWidget* parent = nullptr);

    std::function<void()> closeBlock;
    QPointer<QAbstractButton> closeButton;
    QPointer<QLabel> joystickTabLabel, dpadTabLabel, leftKeyTabLabel, rightKeyTabLabel;
    QPointer<QAbstractButton> buttonA, buttonB, buttonX, buttonY, buttonL1, buttonL2, buttonL3, buttonR1, buttonR2,
        buttonR3, buttonHome, buttonMenu, buttonOptions, buttonUp, buttonDown, buttonLeft, buttonRight;
    QPointer<QWidget> leftJoystickButton, rightJoystickButton;
    QPointer<QWidget> leftJoystick, rightJoystick;
    double joystickRadius = 0;

    void closeAction();
    void changeButton(QAbstractButton* button, bool selected);

protected:
    // Every show closes the accessory session and every hide reopens it.
    void didSetHidden(bool hidden) override;

private:
    void commonInit();
    void observeKeyPressedStatus();
    // The 13 keys that light while held, and the four arrows shown only while held.
    QList<QAbstractButton*> normalButtons() const;
    QList<QAbstractButton*> arrowButtons() const;
    void moveKnob(QWidget* knob, float dx, float dy);
};
