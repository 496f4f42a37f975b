#pragma once

#include "views/ZelBaseView.h"

#include <QPointer>

#include <functional>

class QAbstractButton;
class QLabel;

// The screen shown at start and whenever the controller goes away: asks the
// user to attach the phone to the controller and offers the game list and the
// tutorial. It only reports its buttons; the root controller decides.
class ZelHomeView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelHomeView(QWidget* parent = nullptr);

    QPointer<QAbstractButton> connectButton;
    QPointer<QAbstractButton> MFiGameButton;
    QPointer<QAbstractButton> tutorialButton;
    QPointer<QLabel> connectPromptLabel;

    std::function<void()> connectedBlock;
    std::function<void()> MFiBlock;
    std::function<void()> tutorialBlock;

    // The action of all three buttons.
    void buttonAction(QObject* sender);

private:
    void commonInit();
};
