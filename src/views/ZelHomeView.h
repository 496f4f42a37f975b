#pragma once

#include "views/ZelBaseView.h"

#include <QPointer>

#include <functional>
#include <memory>

class QAbstractButton;
class QLabel;
class ScreenScaler;

// The screen shown at start and whenever the controller goes away: asks the
// user to attach the phone to the controller and offers the game list and the
// tutorial. It only reports its buttons; the root controller decides.
class ZelHomeView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelHomeView(QWidget* parent = nullptr);
    ~ZelHomeView() override;

    QPointer<QAbstractButton> connectButton;
    QPointer<QAbstractButton> MFiGameButton;
    QPointer<QAbstractButton> tutorialButton;
    QPointer<QLabel> connectPromptLabel;
    // The picture of the controller, drawn to fit its room with its proportions.
    QPointer<QLabel> controllerImageLabel;

    // How far the picture may grow past its drawn size on a large window.
    static constexpr double kLargestPictureScale = 2.0;

    std::function<void()> connectedBlock;
    std::function<void()> MFiBlock;
    std::function<void()> tutorialBlock;

    // The action of all three buttons.
    void buttonAction(QObject* sender);
    // Its text, buttons and spacing, grown or shrunk with the window.
    const ScreenScaler& scaler() const { return *m_scaler; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void commonInit();
    void fitPicture();

    QPointer<QWidget> actionPanel;
    QSize m_panelWidths; // its least and most width, as drawn
    std::unique_ptr<ScreenScaler> m_scaler;
};
