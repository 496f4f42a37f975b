#include "views/ZelHomeView.h"

#include "platform/Localization.h"
#include "ui_ZelHomeContentView.h"

#include <QPushButton>

ZelHomeView::ZelHomeView(QWidget* parent)
    : ZelBaseView(parent)
{
    commonInit();
}

void ZelHomeView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelHomeContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    connectButton = ui.connectButton;
    MFiGameButton = ui.MFiGameButton;
    tutorialButton = ui.tutorialButton;
    connectPromptLabel = ui.connectPromptLabel;

    for (QPushButton* button : {ui.connectButton, ui.MFiGameButton, ui.tutorialButton})
        connect(button, &QPushButton::clicked, this, [this, button] { buttonAction(button); });

    // Attaching the phone is what connects; the button stays for the record.
    connectButton->setHidden(true);
    connectPromptLabel->setHidden(false);

    connectPromptLabel->setText(localized("ConnectGamepadPropmt"));
    MFiGameButton->setText(localized("MFiGame"));
    tutorialButton->setText(localized("GettingStarted"));
}

void ZelHomeView::buttonAction(QObject* sender)
{
    std::function<void()> block;
    if (sender && sender == connectButton)
        block = connectedBlock;
    else if (sender && sender == MFiGameButton)
        block = MFiBlock;
    else if (sender && sender == tutorialButton)
        block = tutorialBlock;
    if (block)
        block();
}
