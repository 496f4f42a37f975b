#pragma once

#include "views/ZelBaseView.h"

#include <QPointer>

#include <functional>
#include <memory>

class ElidedLabel;
class QAbstractButton;
class QLabel;
class ScreenScaler;
class ZelFirmwareDataTool;
class ZelFirmwareUpgradeManager;

// The screen shown while the controller is attached: its firmware version, the
// newest online version with a red dot when they differ, and the ways to the
// upgrade screen, the key test and the game list.
class ZelConnectedView : public ZelBaseView {
    Q_OBJECT
public:
    // The engine that reads the controller's version and the catalogue asked
    // for the latest release; both outlive the screen.
    ZelConnectedView(ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QWidget* parent = nullptr);
    ~ZelConnectedView() override;

    QPointer<QAbstractButton> upgradeButton;
    QPointer<QAbstractButton> keyTestButton;
    QPointer<QAbstractButton> MFiButton;
    QPointer<QAbstractButton> closeButton;
    // Asks for the release list again after the server could not be reached.
    QPointer<QAbstractButton> retryButton;
    QPointer<QLabel> currentVersionLabel;
    // Which controller this is: address, hardware and protocol version, production date.
    QPointer<QLabel> controllerLabel;
    QPointer<QLabel> latestVersionLabel;
    // Why the latest version is not known, beside its caption, cut to the
    // room there is (whole in its tooltip).
    QPointer<ElidedLabel> releaseListErrorLabel;
    QPointer<QLabel> currentVersionTitleLabel;
    QPointer<QLabel> latestVersionTitleLabel;
    QPointer<QLabel> upgradePromptRedDot;
    QPointer<QLabel> MFiLabel;
    QPointer<QLabel> upgradeLabel;
    QPointer<QLabel> keyTestLabel;

    std::function<void()> MFiBlock;
    std::function<void()> upgradeBlock;
    std::function<void()> keyTestBlock;
    std::function<void()> closeBlock;

    void upgradeAction();
    void keyTestAction();
    void MFiAction();
    void closeAction();
    void retryAction();

    // Its tiles, text and spacing, grown or shrunk with the window.
    const ScreenScaler& scaler() const { return *m_scaler; }

protected:
    // Becoming visible asks for the versions again.
    void didSetHidden(bool hidden) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void commonInit();
    void showVersions();

    ZelFirmwareUpgradeManager& m_engine;
    ZelFirmwareDataTool& m_catalogue;
    std::unique_ptr<ScreenScaler> m_scaler;
};
