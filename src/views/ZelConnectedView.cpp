#include "views/ZelConnectedView.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/LatestReleaseText.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "ui_ZelConnectedContentView.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ElidedLabel.h"
#include "views/ScreenScaler.h"

#include <QPointer>
#include <QPushButton>

#include <tuple>

ZelConnectedView::ZelConnectedView(ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QWidget* parent)
    : ZelBaseView(parent)
    , m_engine(engine)
    , m_catalogue(catalogue)
{
    commonInit();
}

void ZelConnectedView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelConnectedContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    upgradeButton = ui.upgradeButton;
    keyTestButton = ui.keyTestButton;
    MFiButton = ui.MFiButton;
    closeButton = ui.closeButton;
    retryButton = ui.retryButton;
    currentVersionLabel = ui.currentVersionLabel;
    controllerLabel = ui.controllerLabel;
    latestVersionLabel = ui.latestVersionLabel;
    currentVersionTitleLabel = ui.currentVersionTitleLabel;
    latestVersionTitleLabel = ui.latestVersionTitleLabel;
    upgradePromptRedDot = ui.upgradePromptRedDot;
    MFiLabel = ui.MFiLabel;
    upgradeLabel = ui.upgradeLabel;
    keyTestLabel = ui.keyTestLabel;

    connect(ui.upgradeButton, &QPushButton::clicked, this, &ZelConnectedView::upgradeAction);
    connect(ui.keyTestButton, &QPushButton::clicked, this, &ZelConnectedView::keyTestAction);
    connect(ui.MFiButton, &QPushButton::clicked, this, &ZelConnectedView::MFiAction);
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelConnectedView::closeAction);
    connect(ui.retryButton, &QPushButton::clicked, this, &ZelConnectedView::retryAction);

    // In the caption's row, which every window has room for.
    releaseListErrorLabel = new ElidedLabel(content);
    releaseListErrorLabel->setObjectName(QStringLiteral("releaseListErrorLabel"));
    releaseListErrorLabel->setProperty("role", QStringLiteral("warning"));
    ui.latestTitleLayout->insertWidget(
        ui.latestTitleLayout->indexOf(ui.upgradePromptRedDot) + 1, releaseListErrorLabel);
    releaseListErrorLabel->setHidden(true);

    upgradePromptRedDot->setHidden(true);
    closeButton->setHidden(true);
    retryButton->setHidden(true);
    retryButton->setText(localized("Retry"));

    MFiLabel->setText(localized("MFiGame"));
    upgradeLabel->setText(localized("FirmwareUpgrade"));
    keyTestLabel->setText(localized("KeyTest"));
    currentVersionTitleLabel->setText(localized("CurrentVersion") + localized(":"));
    latestVersionTitleLabel->setText(localized("LatestVersion") + localized(":"));
    // The tiles show icons; their captions name them.
    for (auto [tile, label, description] : { std::tuple { upgradeButton, upgradeLabel, "FirmwareUpgradeDescription" },
             std::tuple { keyTestButton, keyTestLabel, "KeyTestDescription" },
             std::tuple { MFiButton, MFiLabel, "MFiGameDescription" } }) {
        tile->setAccessibleName(label->text());
        tile->setAccessibleDescription(localized(description));
    }
    m_scaler = std::make_unique<ScreenScaler>(content);
}

ZelConnectedView::~ZelConnectedView() = default;

void ZelConnectedView::resizeEvent(QResizeEvent* event)
{
    ZelBaseView::resizeEvent(event);
    m_scaler->fit(size());
}

void ZelConnectedView::didSetHidden(bool hidden)
{
    if (!hidden)
        showVersions();
}

void ZelConnectedView::showVersions()
{
    QPointer<ZelConnectedView> self(this);
    m_engine.checkCurrentVersion([self](const QString& current) {
        if (!self)
            return;
        self->currentVersionLabel->setText(current);
        self->controllerLabel->setText(self->m_engine.controllerIdentityText());
        self->m_catalogue.getRemoteFirmwares(
            [self, current](const QList<ZelFirmware>& firmwares, const QString& error) {
                if (!self)
                    return;
                const LatestReleaseText latest = LatestReleaseText::make(firmwares, error, self->m_catalogue.refusal);
                self->latestVersionLabel->setText(latest.value);
                self->upgradePromptRedDot->setHidden(
                    !latest.offered || ReleaseVersion::same(latest.offered->version, current));
                // The smallest window has no line to spare for the reason: it
                // stands beside the caption, as much as fits, and whole with
                // the text and the button (tooltip, accessibility).
                const QString why = latest.retry ? latest.reason : QString();
                self->releaseListErrorLabel->setFullText(latest.retry ? latest.cause : QString());
                self->releaseListErrorLabel->setToolTip(why);
                self->releaseListErrorLabel->setHidden(why.isEmpty());
                self->latestVersionLabel->setToolTip(why);
                self->latestVersionLabel->setAccessibleDescription(why);
                self->retryButton->setToolTip(why);
                self->retryButton->setAccessibleDescription(why);
                self->retryButton->setHidden(!latest.retry);
                self->retryButton->setEnabled(true);
            });
    });
}

void ZelConnectedView::retryAction()
{
    // Disabled, not hidden, until the answer: the keyboard's focus stays on it.
    retryButton->setEnabled(false);
    showVersions();
}

void ZelConnectedView::upgradeAction()
{
    if (upgradeBlock)
        upgradeBlock();
}

void ZelConnectedView::keyTestAction()
{
    if (keyTestBlock)
        keyTestBlock();
}

void ZelConnectedView::MFiAction()
{
    if (MFiBlock)
        MFiBlock();
}

void ZelConnectedView::closeAction()
{
    if (closeBlock)
        closeBlock();
}
