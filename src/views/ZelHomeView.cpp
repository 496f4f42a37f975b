#include "views/ZelHomeView.h"

#include "platform/runtime/Localization.h"
#include "ui_ZelHomeContentView.h"
#include "views/RenderedPicture.h"
#include "views/ScreenScaler.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
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
    controllerImageLabel = ui.controllerImageLabel;
    // The picture follows the room the layout gives it instead of demanding its own.
    controllerImageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    controllerImageLabel->setMinimumSize(1, 1);
    controllerImageLabel->installEventFilter(this);
    // Rendered at build time: this screen is the first one shown.
    MFiGameButton->setIcon(RenderedPicture("games").icon());
    tutorialButton->setIcon(RenderedPicture("keytest").icon());
    actionPanel = ui.actionPanel;
    m_panelWidths = QSize(actionPanel->minimumWidth(), actionPanel->maximumWidth());

    for (QPushButton* button : { ui.connectButton, ui.MFiGameButton, ui.tutorialButton })
        connect(button, &QPushButton::clicked, this, [this, button] { buttonAction(button); });

    // Attaching the phone is what connects; the button stays for the record.
    connectButton->setHidden(true);
    connectPromptLabel->setHidden(false);

    connectPromptLabel->setText(localized("ConnectGamepadPropmt"));
    MFiGameButton->setText(localized("MFiGame"));
    tutorialButton->setText(localized("GettingStarted"));
    m_scaler = std::make_unique<ScreenScaler>(content);
}

ZelHomeView::~ZelHomeView() = default;

void ZelHomeView::resizeEvent(QResizeEvent* event)
{
    ZelBaseView::resizeEvent(event);
    // The panel grows and shrinks with its buttons.
    if (m_scaler->fit(size())) {
        actionPanel->setMinimumWidth(m_scaler->scaled(m_panelWidths.width()));
        actionPanel->setMaximumWidth(m_scaler->scaled(m_panelWidths.height()));
    }
}

bool ZelHomeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == controllerImageLabel && event->type() == QEvent::Resize)
        fitPicture();
    return ZelBaseView::eventFilter(watched, event);
}

void ZelHomeView::fitPicture()
{
    static const RenderedPicture picture("controller");
    static const QSize drawn = picture.naturalSize();
    QSize fit = drawn.scaled(controllerImageLabel->contentsRect().size(), Qt::KeepAspectRatio);
    if (fit.width() > drawn.width() * kLargestPictureScale)
        fit = drawn * kLargestPictureScale;
    if (fit.isEmpty())
        return;
    // The label gets its picture here, at the size it is shown, and only here.
    controllerImageLabel->setPixmap(picture.pixmap(fit, controllerImageLabel->devicePixelRatioF()));
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
