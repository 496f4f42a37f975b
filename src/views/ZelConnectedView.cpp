#include "views/ZelConnectedView.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "ui_ZelConnectedContentView.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <tuple>

ZelConnectedView::ZelConnectedView(QWidget* parent)
    : ZelBaseView(parent)
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

    upgradePromptRedDot->setHidden(true);
    closeButton->setHidden(true);

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
}

void ZelConnectedView::didSetHidden(bool hidden)
{
    if (!hidden)
        showVersions();
}

void ZelConnectedView::showVersions()
{
    QPointer<ZelConnectedView> self(this);
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion([self](const QString& current) {
        if (!self)
            return;
        self->currentVersionLabel->setText(current);
        self->controllerLabel->setText(ZelFirmwareUpgradeManager::sharedInstance().controllerIdentityText());
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([self, current](const QList<ZelFirmware>& firmwares,
                                                                     const QString&) {
            if (!self)
                return;
            const QString none = localized("NoNewerVersion");
            // A release whose signature is refused is never the latest;
            // a refused list or key set says so.
            const auto offered = std::find_if(firmwares.cbegin(), firmwares.cend(), &ReleaseSignature::mayInstall);
            if (offered == firmwares.cend()) {
                self->latestVersionLabel->setText(
                    ZelFirmwareDataTool::sharedInstance().refusal.isEmpty() ? none : localized("ReleaseListRefused"));
                self->upgradePromptRedDot->setHidden(true);
                return;
            }
            const QString latest = offered->version;
            self->latestVersionLabel->setText(latest);
            self->upgradePromptRedDot->setHidden(latest == none || ReleaseVersion::same(latest, current));
        });
    });
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
