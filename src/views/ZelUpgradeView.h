#pragma once

#include "views/ZelBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;
class QVariantAnimation;
class ZelFirmwareListView;
struct Notification;
struct ZelFirmware;

// The screen on which the user picks a release, checks it against the
// controller, starts the upgrade and follows it to completion.
class ZelUpgradeView : public ZelBaseView {
    Q_OBJECT
public:
    // After a completed run the versions are refreshed this much later.
    static constexpr double kCompletedRefreshSeconds = 8.0;
    static constexpr double kMessageSeconds = 3.0;
    static constexpr double kProgressAnimationSeconds = 0.1;

    explicit ZelUpgradeView(QWidget* parent = nullptr);
    ~ZelUpgradeView() override;

    std::function<void()> closeBlock;
    ZelFirmwareListView* firmwareListView = nullptr;

    QPointer<QAbstractButton> upgradeButton;
    QPointer<QAbstractButton> closeButton;
    QPointer<QAbstractButton> localFileButton;
    QPointer<QAbstractButton> remoteFileButton;
    QPointer<QLabel> currentVersionTitleLabel;
    QPointer<QLabel> currentVersionLabel;
    QPointer<QLabel> latestVersionTitleLabel;
    QPointer<QLabel> latestVersionLabel;
    QPointer<QLabel> detailTitleLabel;
    QPointer<QLabel> detailLabel;
    QPointer<QLabel> progressTextLabel;
    QPointer<QLabel> upgradePromptLabel;
    QPointer<QLabel> selectedFirmwareLabel;
    QPointer<QLabel> upgradePromptRedDot;
    QLabel* progressBgLabel = nullptr;

    void checkFirmwareVersion();
    void hideFirmwareListView();
    void gamepadDisconnectByUpgradingFirmware(const Notification& notification);

    void switchToUpgradeState();
    void restoreToOriginalState();
    void checkCanUpgradeAfterChoosingFirmware();

    void closeAction();
    void upgradeAction();
    void localFileAction();
    void otherVersionAction();

    // The engine's progress handler, in percent.
    void showProgress(double percent);

protected:
    // Showing starts the choice over and refreshes the versions; hiding stops
    // listening for the upgrade's disconnection notice.
    void didSetHidden(bool hidden) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFirmwareList(quint64 type);
    void firmwareSelected(const std::optional<ZelFirmware>& firmware);
    void showLatestFirmware(const QList<ZelFirmware>& firmwares, const QString& currentVersion);
    void refreshAfterCompletion();
    void setProgressText(const QString& text);
    void fitProgressText();
    void animateProgressBar(double percent);
    void layoutProgressBar();

    QVariantAnimation* m_progressAnimation = nullptr;
    double m_barPercent = 0.0; // what the bar shows, 0 to 100
    int m_progressFontPixels = 0; // the status line's font size in use
};
