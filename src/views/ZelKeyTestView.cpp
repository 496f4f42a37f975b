#include "views/ZelKeyTestView.h"

#include "accessory/EADSessionController.h"
#include "input/KestGameControllerManager.h"
#include "input/KeyTestModel.h"
#include "lib/MessageToast.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui_ZelKeyTestContentView.h"
#include "views/ElidedLabel.h"
#include "views/GradientLayer.h"
#include "views/ZelAnalogueView.h"
#include "views/ZelLightColourDialog.h"
#include "views/ZelMappingView.h"
#include "views/ZelMotionView.h"
#include "views/ZelStickCheckView.h"
#include "views/ZelTouchpadView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStackedWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>
#include <utility>

namespace {

constexpr double kKeyCornerRadius = 5;
const QString kBorderColour = QStringLiteral("rgba(156, 154, 154, 0.8)");
const QString kNormalTitleColour = QStringLiteral("rgba(0, 0, 0, 0.8)");
const QString kSelectedTitleColour = QStringLiteral("#ffffff");

// Dynamic properties that carry the look the screen gives its keys and rings,
// readable by anyone who needs to know it.
const char* const kBorderWidth = "borderWidth";
const char* const kCornerRadius = "cornerRadius";
// The text size a key's title, an arrow or a pad slot shows at the scale in use.
const char* const kFontPixels = "fontPixels";
// The interface's text sizes on keys (the titles) and on the arrow pad.
constexpr int kKeyTitlePixels = 14;
constexpr int kArrowPixels = 16;
// The values panel keeps room for its rings and readings however small the window.
constexpr int kSmallestAnalogueHeight = 100;

// The border and corners go in the widget's own style sheet, which wins over
// the application's; the rest of the look comes from the application's.
void setBorderWidth(QWidget* widget, int width)
{
    widget->setProperty(kBorderWidth, width);
    widget->setStyleSheet(QStringLiteral("#%1 { border: %2px solid %3; border-radius: %4px; }")
                              .arg(widget->objectName())
                              .arg(width)
                              .arg(kBorderColour)
                              .arg(widget->property(kCornerRadius).toDouble()));
}

void styleTitle(QLabel* title, bool selected)
{
    title->setStyleSheet(QStringLiteral("color: %1; font-size: %2px;")
                             .arg(selected ? kSelectedTitleColour : kNormalTitleColour)
                             .arg(title->property(kFontPixels).toInt()));
}

// The key's title moves into a layer of its own, so that the gradient layers
// of a held key can go beneath it. Its colour follows the selected state.
void addTitleLayer(QAbstractButton* key)
{
    auto* title = new QLabel(key->text(), key);
    title->setObjectName(QStringLiteral("titleLayer"));
    title->setAlignment(Qt::AlignCenter);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QGridLayout(key);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title, 0, 0);
    key->setAccessibleName(key->text());
    key->setText(QString());

    title->setProperty(kFontPixels, kKeyTitlePixels);
    styleTitle(title, key->isChecked());
    QObject::connect(key, &QAbstractButton::toggled, title, [title](bool selected) { styleTitle(title, selected); });
}

// The on-screen counterpart of each key.
using Key = KestGameControllerManager::Key;
using KeyElement = QPointer<QAbstractButton> ZelKeyTestView::*;
constexpr std::pair<Key, KeyElement> kKeyElements[] = {
    { Key::A, &ZelKeyTestView::buttonA },
    { Key::B, &ZelKeyTestView::buttonB },
    { Key::X, &ZelKeyTestView::buttonX },
    { Key::Y, &ZelKeyTestView::buttonY },
    { Key::L1, &ZelKeyTestView::buttonL1 },
    { Key::L2, &ZelKeyTestView::buttonL2 },
    { Key::L3, &ZelKeyTestView::buttonL3 },
    { Key::R1, &ZelKeyTestView::buttonR1 },
    { Key::R2, &ZelKeyTestView::buttonR2 },
    { Key::R3, &ZelKeyTestView::buttonR3 },
    { Key::Home, &ZelKeyTestView::buttonHome },
    { Key::Menu, &ZelKeyTestView::buttonMenu },
    { Key::Options, &ZelKeyTestView::buttonOptions },
    { Key::Up, &ZelKeyTestView::buttonUp },
    { Key::Down, &ZelKeyTestView::buttonDown },
    { Key::Left, &ZelKeyTestView::buttonLeft },
    { Key::Right, &ZelKeyTestView::buttonRight },
};

} // namespace

ZelKeyTestView::ZelKeyTestView(KestGameControllerManager& manager, EADSessionController& session, QWidget* parent)
    : ZelBaseView(parent)
    , m_manager(manager)
    , m_session(session)
{
    commonInit();
    observeKeyPressedStatus();
    observeControllers();
}

ZelKeyTestView::~ZelKeyTestView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    measure(nullptr); // the controller's sensors rest again
}

void ZelKeyTestView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelKeyTestContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    closeButton = ui.closeButton;
    joystickTabLabel = ui.joystickTabLabel;
    dpadTabLabel = ui.dpadTabLabel;
    leftKeyTabLabel = ui.leftKeyTabLabel;
    rightKeyTabLabel = ui.rightKeyTabLabel;
    buttonA = ui.buttonA;
    buttonB = ui.buttonB;
    buttonX = ui.buttonX;
    buttonY = ui.buttonY;
    buttonL1 = ui.buttonL1;
    buttonL2 = ui.buttonL2;
    buttonL3 = ui.buttonL3;
    buttonR1 = ui.buttonR1;
    buttonR2 = ui.buttonR2;
    buttonR3 = ui.buttonR3;
    buttonHome = ui.buttonHome;
    buttonMenu = ui.buttonMenu;
    buttonOptions = ui.buttonOptions;
    buttonUp = ui.buttonUp;
    buttonDown = ui.buttonDown;
    buttonLeft = ui.buttonLeft;
    buttonRight = ui.buttonRight;
    leftJoystickButton = ui.leftJoystickButton;
    rightJoystickButton = ui.rightJoystickButton;
    leftJoystick = ui.leftJoystick;
    rightJoystick = ui.rightJoystick;
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelKeyTestView::closeAction);
    padChooser = ui.padChooser;
    identityLabel = ui.identityLabel;
    clockLabel = ui.clockLabel;
    analoguePages = ui.analoguePages;
    analogueView = ui.analogueView;
    motionView = ui.motionView;
    touchpadView = ui.touchpadView;
    valuesTab = ui.valuesTab;
    motionTab = ui.motionTab;
    touchpadTab = ui.touchpadTab;
    motorsTab = ui.motorsTab;
    // Not an exclusive button group: Tab would then reach only the checked one.
    m_tabs = { ui.valuesTab, ui.motionTab, ui.touchpadTab, ui.motorsTab };
    for (int page = 0; page < int(m_tabs.size()); ++page)
        connect(m_tabs[size_t(page)], &QPushButton::clicked, this, [this, page] { showPage(Page(page)); });
    setUpMotors(content);
    mapButton = ui.mapButton;
    mappingPanel = ui.mappingPanel;
    mappingTitleLabel = ui.mappingTitleLabel;
    mappingPromptLabel = ui.mappingPromptLabel;
    mappingLineLabel = ui.mappingLineLabel;
    mappingView = ui.mappingView;
    mappingInputsView = ui.mappingInputsView;
    mappingBackButton = ui.mappingBackButton;
    mappingSkipButton = ui.mappingSkipButton;
    mappingSaveButton = ui.mappingSaveButton;
    mappingCloseButton = ui.mappingCloseButton;
    connect(ui.mapButton, &QPushButton::clicked, this, &ZelKeyTestView::mapAction);
    connect(ui.mappingBackButton, &QPushButton::clicked, this, [this] {
        if (m_mapping)
            m_mapping->back();
    });
    connect(ui.mappingSkipButton, &QPushButton::clicked, this, [this] {
        if (m_mapping)
            m_mapping->skip();
    });
    connect(ui.mappingSaveButton, &QPushButton::clicked, this, &ZelKeyTestView::mappingSaveAction);
    connect(ui.mappingCloseButton, &QPushButton::clicked, this, &ZelKeyTestView::closeMappingAction);
    // The editor's keys, while its panel is shown: none of them is a key the
    // demo's keyboard controller uses, so a keyboard can play both.
    for (auto [keys, button] : { std::pair { QKeySequence(Qt::Key_Space), ui.mappingSkipButton },
             std::pair { QKeySequence(Qt::Key_Backspace), ui.mappingBackButton },
             std::pair { QKeySequence(Qt::CTRL | Qt::Key_S), ui.mappingSaveButton },
             std::pair { QKeySequence(Qt::Key_Escape), ui.mappingCloseButton } }) {
        auto* shortcut = new QShortcut(keys, ui.mappingPanel);
        connect(shortcut, &QShortcut::activated, button, [button = button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    }
    checkButton = ui.checkButton;
    checkAgainButton = ui.checkAgainButton;
    checkCloseButton = ui.checkCloseButton;
    checkPanel = ui.checkPanel;
    checkTitleLabel = ui.checkTitleLabel;
    stickCheckView = ui.stickCheckView;
    m_keyPanels = { ui.leftPanel, ui.centrePanel, ui.rightPanel, ui.analoguePanel };
    connect(ui.checkButton, &QPushButton::clicked, this, &ZelKeyTestView::checkAction);
    connect(ui.checkAgainButton, &QPushButton::clicked, this, &ZelKeyTestView::checkAction);
    connect(ui.checkCloseButton, &QPushButton::clicked, this, &ZelKeyTestView::closeCheckAction);
    checkClock = [] {
        using namespace std::chrono;
        return qint64(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    };
    connect(ui.padChooser, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && size_t(index) < m_chooserControllers.size())
            showController(m_chooserControllers[size_t(index)]);
    });

    // The ring's size as the interface gives it, before any layout: a knob
    // pushed fully to one side sits on the ring's edge.
    joystickRadius = leftJoystick->width() * 0.5;

    for (QAbstractButton* arrow : arrowButtons())
        arrow->setHidden(true);

    for (QWidget* ring : { leftJoystick.data(), rightJoystick.data() }) {
        ring->setProperty(kCornerRadius, joystickRadius);
        setBorderWidth(ring, 1);
        // A knob pushed to the edge stands half outside its ring: it lies on
        // the ring's panel, above the ring, so that it is drawn whole, and
        // follows the ring wherever the layout puts it.
        QWidget* knob = ring == leftJoystick ? leftJoystickButton.data() : rightJoystickButton.data();
        knob->setParent(ring->parentWidget());
        knob->raise();
        ring->installEventFilter(this);
    }

    ui.buttonHome->setText(localized("KeyHome"));
    ui.buttonMenu->setText(localized("KeyMenu"));
    ui.buttonOptions->setText(localized("KeyOptions"));
    for (QAbstractButton* key : normalButtons()) {
        key->setCheckable(true);
        // The keys show the controller; a click must not change what they show.
        key->setAttribute(Qt::WA_TransparentForMouseEvents);
        key->setFocusPolicy(Qt::NoFocus);
        key->setProperty(kCornerRadius, kKeyCornerRadius);
        addTitleLayer(key);
        setBorderWidth(key, 1);
    }

    ui.titleLabel->setText(localized("KeyTest"));
    joystickTabLabel->setText(localized("Joystick"));
    dpadTabLabel->setText(localized("ArrowKeys"));
    leftKeyTabLabel->setText(localized("LeftKeys"));
    rightKeyTabLabel->setText(localized("RightKeys"));
    valuesTab->setText(localized("AnalogueValues"));
    motionTab->setText(localized("MotionTab"));
    touchpadTab->setText(localized("TouchpadTab"));
    motorsTab->setText(localized("MotorsTab"));
    mapButton->setText(localized("MapButtons"));
    mappingBackButton->setText(localized("MappingBack"));
    mappingSkipButton->setText(localized("MappingSkip"));
    mappingSaveButton->setText(localized("MappingSave"));
    mappingCloseButton->setText(localized("MappingCancel"));
    mappingPanel->setHidden(true);
    checkButton->setText(localized("CheckSticks"));
    checkAgainButton->setText(localized("CheckAgain"));
    checkCloseButton->setText(localized("CheckClose"));
    checkTitleLabel->setText(localized("CheckTitle"));
    checkPanel->setHidden(true);
    // Reached by Tab, but a click leaves the keyboard where it was.
    for (QAbstractButton* action : { valuesTab.data(), motionTab.data(), touchpadTab.data(), motorsTab.data(),
             rumbleButton.data(), triggerRumbleButton.data(), lightButton.data(), lowMotorButton.data(),
             highMotorButton.data(), leftTriggerMotorButton.data(), rightTriggerMotorButton.data(), checkButton.data(),
             checkAgainButton.data(), checkCloseButton.data(), mapButton.data(), mappingBackButton.data(),
             mappingSkipButton.data(), mappingSaveButton.data(), mappingCloseButton.data() })
        action->setFocusPolicy(Qt::TabFocus);
    for (const QPointer<QAbstractButton>& swatch : std::as_const(lightSwatches))
        swatch->setFocusPolicy(Qt::TabFocus);
    // A knob leaves its ring's rectangle at the edge of its travel (the ring's
    // mask clips it); an arrow lies over its resting slot while held.
    for (QWidget* knob : { leftJoystickButton.data(), rightJoystickButton.data() })
        knob->setProperty("layoutAudit", QStringLiteral("free"));
    for (QAbstractButton* arrow : arrowButtons())
        arrow->setProperty("layoutAudit", QStringLiteral("layer"));
    refreshControllers();
    recordDesign();
}

void ZelKeyTestView::recordDesign()
{
    const QList<QWidget*> widgets = contentView->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        // The panels of values and of the mapping hold text and pictures that
        // size themselves; only the keys, pads and rings scale with the screen.
        const QWidget* analoguePanel = analoguePages->parentWidget();
        if (analoguePanel->isAncestorOf(widget) || mappingPanel->isAncestorOf(widget) || widget == closeButton)
            continue;
        const QSize size = widget->minimumSize();
        if (size.isEmpty() || size != widget->maximumSize())
            continue;
        int pixels = 0;
        if (widget->property("role").toString() == QLatin1String("arrowKey")
            || widget->property("role").toString() == QLatin1String("padSlot"))
            pixels = kArrowPixels;
        m_fixed.push_back({ widget, size, pixels });
    }
    for (QLayout* layout : contentView->findChildren<QLayout*>())
        m_spacings.push_back({ layout, layout->contentsMargins(), layout->spacing() });
    m_knobSize = leftJoystickButton->size();
    m_analogueHeight = analogueView->minimumHeight();
}

void ZelKeyTestView::resizeEvent(QResizeEvent* event)
{
    ZelBaseView::resizeEvent(event);
    // Created with an empty frame, the screen is sized when it is shown.
    if (width() <= 0 || height() <= 0)
        return;
    const double fit = std::min(
        double(width()) / kDesignWidth, double(height() - kUnscaledHeight) / (kDesignHeight - kUnscaledHeight));
    const double scale = std::clamp(fit, kSmallestScale, kLargestScale);
    if (std::abs(scale - m_scale) > 0.001)
        applyScale(scale);
}

void ZelKeyTestView::applyScale(double scale)
{
    m_scale = scale;
    const auto scaled = [scale](int value) { return int(std::lround(value * scale)); };
    for (const Fixed& fixed : m_fixed) {
        if (!fixed.widget)
            continue;
        // Even sides keep round things round about a whole-pixel centre.
        const auto even = [&](int value) { return scaled(value) & ~1; };
        fixed.widget->setFixedSize(even(fixed.size.width()), even(fixed.size.height()));
        if (fixed.fontPixels > 0)
            fixed.widget->setStyleSheet(QStringLiteral("font-size: %1px;").arg(scaled(fixed.fontPixels)));
    }
    for (const Spacing& spacing : m_spacings) {
        if (!spacing.layout)
            continue;
        const QMargins& m = spacing.margins;
        spacing.layout->setContentsMargins(scaled(m.left()), scaled(m.top()), scaled(m.right()), scaled(m.bottom()));
        if (spacing.spacing >= 0)
            spacing.layout->setSpacing(scaled(spacing.spacing));
    }
    for (QAbstractButton* key : normalButtons()) {
        if (auto* title = key->findChild<QLabel*>(QStringLiteral("titleLayer"), Qt::FindDirectChildrenOnly)) {
            title->setProperty(kFontPixels, scaled(kKeyTitlePixels));
            styleTitle(title, isHeld(key));
        }
    }
    analogueView->setMinimumHeight(std::max(kSmallestAnalogueHeight, scaled(m_analogueHeight)));

    // The rings and the knobs' travel: a knob keeps its stick's position.
    joystickRadius = leftJoystick->width() * 0.5;
    const QSize knobSize(scaled(m_knobSize.width()) & ~1, scaled(m_knobSize.height()) & ~1);
    for (auto [ring, knob] : { std::pair { leftJoystick.data(), leftJoystickButton.data() },
             std::pair { rightJoystick.data(), rightJoystickButton.data() } }) {
        ring->setProperty(kCornerRadius, joystickRadius);
        setBorderWidth(ring, ring->property(kBorderWidth).toInt());
        knob->resize(knobSize);
        knob->setStyleSheet(QStringLiteral("border-radius: %1px;").arg(knobSize.width() / 2));
    }
    placeKnobs();
}

void ZelKeyTestView::observeKeyPressedStatus()
{
    using Key = KestGameControllerManager::Key;
    // The model takes the manager's slots; the screen draws what it holds.
    m_model = new KeyTestModel(m_manager, this);
    connect(m_model, &KeyTestModel::keyReported, this, [this](Key key, bool pressed) {
        for (const auto& [k, element] : kKeyElements)
            if (k == key)
                changeButton(this->*element, pressed);
    });
    connect(m_model, &KeyTestModel::stickMoved, this, &ZelKeyTestView::placeKnobs);
}

bool ZelKeyTestView::isHeld(const QAbstractButton* button) const
{
    for (const auto& [key, element] : kKeyElements)
        if (this->*element == button)
            return m_model && m_model->isPressed(key);
    return false;
}

QList<QAbstractButton*> ZelKeyTestView::normalButtons() const
{
    QList<QAbstractButton*> keys;
    for (QAbstractButton* key : { buttonA.data(), buttonB.data(), buttonX.data(), buttonY.data(), buttonL1.data(),
             buttonL2.data(), buttonL3.data(), buttonR1.data(), buttonR2.data(), buttonR3.data(), buttonHome.data(),
             buttonOptions.data(), buttonMenu.data() })
        if (key)
            keys.append(key);
    return keys;
}

QList<QAbstractButton*> ZelKeyTestView::arrowButtons() const
{
    QList<QAbstractButton*> arrows;
    for (QAbstractButton* arrow : { buttonUp.data(), buttonDown.data(), buttonLeft.data(), buttonRight.data() })
        if (arrow)
            arrows.append(arrow);
    return arrows;
}

void ZelKeyTestView::didSetHidden(bool hidden)
{
    // While the keys are tested the controller is read as a game controller
    // only; the accessory session rests meanwhile.
    if (hidden && !checkPanel->isHidden())
        closeCheckAction();
    if (hidden && !mappingPanel->isHidden())
        closeMappingAction();
    measure(hidden ? nullptr : shownController());
    if (hidden)
        m_session.openSession();
    else
        m_session.closeSession();
}

void ZelKeyTestView::closeAction()
{
    if (closeBlock)
        closeBlock();
}

void ZelKeyTestView::changeButton(QAbstractButton* button, bool selected)
{
    if (!button)
        return;
    if (arrowButtons().contains(button)) {
        button->setHidden(!selected);
        return;
    }
    button->setChecked(selected);
    if (selected) {
        // One below the topmost layer, so that the title stays above the
        // gradient. A key that reports every change of its analogue value
        // adds a layer per report.
        const QList<QWidget*> stack = button->findChildren<QWidget*>(Qt::FindDirectChildrenOnly); // bottom to top
        auto* layer = new GradientLayer(button, button->property(kCornerRadius).toDouble());
        if (!stack.isEmpty())
            layer->stackUnder(stack.last());
        layer->show();
        setBorderWidth(button, 0);
    } else {
        qDeleteAll(button->findChildren<GradientLayer*>(Qt::FindDirectChildrenOnly));
        setBorderWidth(button, 1);
    }
}

void ZelKeyTestView::placeKnobs()
{
    using Stick = KeyTestModel::Stick;
    for (Stick side : { Stick::Left, Stick::Right }) {
        QWidget* ring = side == Stick::Left ? leftJoystick.data() : rightJoystick.data();
        QWidget* knob = side == Stick::Left ? leftJoystickButton.data() : rightJoystickButton.data();
        if (!ring || !knob || !m_model)
            continue;
        const QPointF stick = m_model->stickPosition(side);
        // The stick's y grows upward, the screen's downward.
        const QPointF centre
            = QRectF(ring->geometry()).center() + QPointF(joystickRadius * stick.x(), -joystickRadius * stick.y());
        knob->move(qRound(centre.x() - knob->width() / 2.0), qRound(centre.y() - knob->height() / 2.0));
    }
}

bool ZelKeyTestView::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == leftJoystick || watched == rightJoystick)
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeKnobs();
    return ZelBaseView::eventFilter(watched, event);
}

void ZelKeyTestView::observeControllers()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, GCControllerDidConnectNotification, [this](const Notification&) { refreshControllers(); });
    center.addObserver(
        this, GCControllerDidDisconnectNotification, [this](const Notification&) { refreshControllers(); });
    // The battery level changes with the values; the line is rewritten only when its text does.
    center.addObserver(this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
        const GCControllerPtr controller = n.object.value<GCControllerPtr>();
        if (controller && controller == shownController()) {
            const QString text = identityText(controller);
            if (identityLabel->fullText() != text)
                identityLabel->setFullText(text);
            const QString clock = controller->reportClock().localizedText();
            if (clockLabel->fullText() != clock)
                clockLabel->setFullText(clock);
            // A mapping may have come for it.
            mapButton->setVisible(!controller->identity().mapped);
        }
    });
}

GCControllerPtr ZelKeyTestView::shownController() const
{
    return analogueView ? analogueView->controller() : nullptr;
}

void ZelKeyTestView::refreshControllers()
{
    m_chooserControllers = m_manager.connectedGameControllers();
    GCControllerPtr shown = shownController();
    if (std::find(m_chooserControllers.begin(), m_chooserControllers.end(), shown) == m_chooserControllers.end())
        shown = m_chooserControllers.empty() ? nullptr : m_chooserControllers.front();
    const QSignalBlocker quiet(padChooser);
    padChooser->clear();
    for (const GCControllerPtr& c : m_chooserControllers)
        padChooser->addItem(localized("PadChoice").arg(c->vendorName()).arg(c->playerIndex()));
    padChooser->setVisible(m_chooserControllers.size() > 1);
    showController(shown);
}

void ZelKeyTestView::showController(const GCControllerPtr& controller)
{
    analogueView->setController(controller);
    motionView->setController(controller);
    touchpadView->setController(controller);
    const auto at = std::find(m_chooserControllers.begin(), m_chooserControllers.end(), controller);
    if (at != m_chooserControllers.end())
        padChooser->setCurrentIndex(int(at - m_chooserControllers.begin()));
    identityLabel->setFullText(identityText(controller));
    clockLabel->setFullText(controller ? controller->reportClock().localizedText() : QString());
    checkButton->setVisible(controller && controller->extendedGamepad());
    mapButton->setVisible(controller && !controller->identity().mapped);
    updatePages(controller);
    if (isVisible())
        measure(controller);
}

void ZelKeyTestView::measure(const GCControllerPtr& controller)
{
    if (controller == m_measured)
        return;
    if (m_measured)
        m_measured->setMeasuring(false);
    m_measured = controller;
    if (m_measured)
        m_measured->setMeasuring(true);
}

void ZelKeyTestView::updatePages(const GCControllerPtr& controller)
{
    // Only what the device has is offered.
    const bool motion = controller && (controller->motion().hasGyroscope || controller->motion().hasAccelerometer);
    const bool touchpad = controller && !controller->touchpads().empty();
    const bool rumble = controller && controller->hasRumble();
    const bool triggers = controller && controller->hasTriggerRumble();
    const bool light = controller && controller->hasLight();
    motionTab->setVisible(motion);
    touchpadTab->setVisible(touchpad);
    motorsTab->setVisible(rumble || triggers || light);
    for (QWidget* w : { static_cast<QWidget*>(lowMotorSlider.data()), static_cast<QWidget*>(highMotorSlider.data()),
             static_cast<QWidget*>(lowMotorButton.data()), static_cast<QWidget*>(highMotorButton.data()),
             static_cast<QWidget*>(rumbleButton.data()) })
        w->setVisible(rumble);
    for (QWidget* w :
        { static_cast<QWidget*>(leftTriggerMotorSlider.data()), static_cast<QWidget*>(rightTriggerMotorSlider.data()),
            static_cast<QWidget*>(leftTriggerMotorButton.data()), static_cast<QWidget*>(rightTriggerMotorButton.data()),
            static_cast<QWidget*>(triggerRumbleButton.data()) })
        w->setVisible(triggers);
    for (const char* name : { "lowMotorLabel", "lowMotorValue", "highMotorLabel", "highMotorValue" })
        contentView->findChild<QWidget*>(QLatin1String(name))->setVisible(rumble);
    for (const char* name :
        { "leftTriggerMotorLabel", "leftTriggerMotorValue", "rightTriggerMotorLabel", "rightTriggerMotorValue" })
        contentView->findChild<QWidget*>(QLatin1String(name))->setVisible(triggers);
    for (const char* name : { "lightLabel", "lightSwatches", "lightButton" })
        contentView->findChild<QWidget*>(QLatin1String(name))->setVisible(light);
    if (m_tabs[size_t(page())]->isHidden())
        showPage(Page::Values);
}

ZelKeyTestView::Page ZelKeyTestView::page() const
{
    return Page(analoguePages->currentIndex());
}

void ZelKeyTestView::showPage(Page page)
{
    analoguePages->setCurrentIndex(int(page));
    for (size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setChecked(i == size_t(page));
}

void ZelKeyTestView::setUpMotors(QWidget* content)
{
    struct Motor {
        const char* name;
        const char* label;
        float MotorStrengths::*strength;
        QPointer<QSlider> ZelKeyTestView::*slider;
        QPointer<QAbstractButton> ZelKeyTestView::*button;
        bool triggers;
        bool first;
    };
    const Motor motors[] = {
        { "lowMotor", "MotorLowLabel", &MotorStrengths::low, &ZelKeyTestView::lowMotorSlider,
            &ZelKeyTestView::lowMotorButton, false, true },
        { "highMotor", "MotorHighLabel", &MotorStrengths::high, &ZelKeyTestView::highMotorSlider,
            &ZelKeyTestView::highMotorButton, false, false },
        { "leftTriggerMotor", "MotorLeftTriggerLabel", &MotorStrengths::leftTrigger,
            &ZelKeyTestView::leftTriggerMotorSlider, &ZelKeyTestView::leftTriggerMotorButton, true, true },
        { "rightTriggerMotor", "MotorRightTriggerLabel", &MotorStrengths::rightTrigger,
            &ZelKeyTestView::rightTriggerMotorSlider, &ZelKeyTestView::rightTriggerMotorButton, true, false },
    };
    for (const Motor& m : motors) {
        const QString name = QLatin1String(m.name);
        auto* label = content->findChild<QLabel*>(name + QStringLiteral("Label"));
        auto* value = content->findChild<QLabel*>(name + QStringLiteral("Value"));
        auto* slider = content->findChild<QSlider*>(name + QStringLiteral("Slider"));
        auto* button = content->findChild<QPushButton*>(name + QStringLiteral("Button"));
        label->setText(localized(m.label));
        button->setText(localized("MotorRun"));
        slider->setAccessibleName(localized(m.label));
        this->*m.slider = slider;
        this->*m.button = button;
        auto show = [this, value, strength = m.strength](int percent) {
            m_strengths.*strength = float(percent) / 100.0f;
            value->setText(QStringLiteral("%1 %").arg(percent));
        };
        show(slider->value());
        connect(slider, &QSlider::valueChanged, this, show);
        connect(button, &QPushButton::clicked, this,
            [this, triggers = m.triggers, first = m.first] { motorAction(triggers, first); });
    }
    rumbleButton = content->findChild<QPushButton*>(QStringLiteral("rumbleButton"));
    triggerRumbleButton = content->findChild<QPushButton*>(QStringLiteral("triggerRumbleButton"));
    lightButton = content->findChild<QPushButton*>(QStringLiteral("lightButton"));
    rumbleButton->setText(localized("Rumble"));
    triggerRumbleButton->setText(localized("RumbleTriggers"));
    lightButton->setText(localized("LightOtherColour"));
    content->findChild<QLabel*>(QStringLiteral("lightLabel"))->setText(localized("LightColour"));
    connect(rumbleButton, &QAbstractButton::clicked, this, [this] { rumbleAction(false); });
    connect(triggerRumbleButton, &QAbstractButton::clicked, this, [this] { rumbleAction(true); });
    connect(lightButton, &QAbstractButton::clicked, this, &ZelKeyTestView::lightAction);
    // One small square a colour.
    auto* swatches = content->findChild<QWidget*>(QStringLiteral("lightSwatches"));
    for (const auto& colour : kLightColours) {
        auto* swatch = new QPushButton(swatches);
        swatch->setObjectName(QStringLiteral("lightSwatch%1").arg(lightSwatches.size()));
        swatch->setProperty("role", QStringLiteral("swatch"));
        const QString name = QString::asprintf("#%02x%02x%02x", colour[0], colour[1], colour[2]);
        swatch->setStyleSheet(QStringLiteral("background: %1;").arg(name));
        swatch->setAccessibleName(localized("LightSwatch").arg(name));
        swatches->layout()->addWidget(swatch);
        connect(swatch, &QPushButton::clicked, this,
            [this, r = colour[0], g = colour[1], b = colour[2]] { setLight(r, g, b); });
        lightSwatches.append(swatch);
    }
}

void ZelKeyTestView::showKeyPanels(bool shown)
{
    for (const QPointer<QWidget>& panel : std::as_const(m_keyPanels))
        if (panel)
            panel->setHidden(!shown);
}

void ZelKeyTestView::showCheckPanel(bool shown)
{
    if (shown && !mappingPanel->isHidden())
        closeMappingAction();
    showKeyPanels(!shown);
    checkPanel->setHidden(!shown);
}

void ZelKeyTestView::showMappingPanel(bool shown)
{
    if (shown && !checkPanel->isHidden())
        closeCheckAction();
    showKeyPanels(!shown);
    mappingPanel->setHidden(!shown);
}

void ZelKeyTestView::mapAction()
{
    const GCControllerPtr controller = shownController();
    if (!controller || controller->identity().mapped)
        return;
    delete m_mapping;
    m_mapping = new MappingEditor(controller, this);
    connect(m_mapping, &MappingEditor::changed, this, &ZelKeyTestView::mappingChanged);
    connect(m_mapping, &MappingEditor::controllerLeft, this, [this] {
        if (m_savingMapping)
            return; // a saved mapping puts a mapped controller in its place
        const QString name = m_mapping ? m_mapping->controller()->vendorName() : QString();
        closeMappingAction();
        MessageToast::showMsgWithtext(localized("MappingControllerLeft").arg(name));
    });
    mappingTitleLabel->setFullText(localized("MappingTitle").arg(controller->vendorName()));
    mappingView->setEditor(m_mapping);
    mappingInputsView->setController(controller);
    showMappingPanel(true);
    mappingChanged();
    mappingSkipButton->setFocus();
}

void ZelKeyTestView::mappingChanged()
{
    if (!m_mapping)
        return;
    mappingPromptLabel->setText(m_mapping->prompt());
    mappingView->update();
    mappingBackButton->setEnabled(m_mapping->index() > 0 || m_mapping->isWaitingForRelease());
    mappingSkipButton->setEnabled(!m_mapping->isDone());
    mappingSaveButton->setEnabled(m_mapping->isDone() && m_mapping->boundCount() > 0);
    // The line to be kept, once every element has been asked for.
    mappingLineLabel->setText(m_mapping->isDone() ? QString::fromUtf8(m_mapping->mapping().line()) : QString());
    if (m_mapping->isDone() && mappingSaveButton->isEnabled())
        mappingSaveButton->setFocus();
}

void ZelKeyTestView::mappingSaveAction()
{
    if (!m_mapping || !m_mapping->isDone())
        return;
    const GCControllerPtr controller = m_mapping->controller();
    const QString guid = controller->identity().guid;
    const QString name = controller->vendorName();
    QString error;
    m_savingMapping = true;
    const bool saved = controller->saveMapping(m_mapping->mapping().line(), &error);
    m_savingMapping = false;
    // The mapped controller that took its place, if the mapping applied.
    GCControllerPtr mapped;
    for (const GCControllerPtr& c : m_manager.connectedGameControllers())
        if (c->identity().mapped && c->identity().guid == guid && c != controller)
            mapped = c;
    if (!saved)
        MessageToast::showMsgWithtext(error);
    if (!mapped)
        return; // the panel stays, with the line to copy
    if (saved)
        MessageToast::showMsgWithtext(localized("MappingSaved").arg(name));
    closeMappingAction();
    showController(mapped);
}

void ZelKeyTestView::closeMappingAction()
{
    delete m_mapping;
    mappingView->setEditor(nullptr);
    mappingInputsView->setController(nullptr);
    showMappingPanel(false);
    if (mapButton->isVisible())
        mapButton->setFocus();
}

void ZelKeyTestView::checkAction()
{
    const GCControllerPtr controller = shownController();
    if (!controller || !controller->extendedGamepad() || !checkClock)
        return;
    delete m_check;
    m_check = new ControllerCheck(controller, {}, checkClock, this);
    stickCheckView->clearReport();
    stickCheckView->setKeyboardHints(keyboardController && controller == keyboardController);
    stickCheckView->setCheck(m_check);
    connect(m_check, &ControllerCheck::measured, stickCheckView, [this] { stickCheckView->refresh(); });
    connect(m_check, &ControllerCheck::stepChanged, stickCheckView, [this] { stickCheckView->refresh(); });
    connect(m_check, &ControllerCheck::finished, this, &ZelKeyTestView::checkFinished);
    showCheckPanel(true);
    m_check->start();
    const QPointer<ZelKeyTestView> self(this);
    m_checkTick = Timer::scheduledTimer(kCheckTickSeconds, true, [self] {
        if (self && self->m_check) {
            self->m_check->advance();
            self->stickCheckView->refresh(); // the countdown
        }
    });
}

void ZelKeyTestView::checkFinished()
{
    m_checkTick.reset();
    if (!m_check)
        return;
    const ControllerCheckReport report = m_check->report(firmwareVersions);
    const std::optional<ControllerCheckReport> previous = report.previous();
    // Where the report was kept, or why it was not, stands on the screen.
    QString error;
    const QString path = report.save(&error);
    stickCheckView->setReport(report, previous);
    stickCheckView->setReportPath(path, error);
    if (m_check->controller() == shownController()) {
        analogueView->setDeadZone(true, report.left.deadZone);
        analogueView->setDeadZone(false, report.right.deadZone);
        if (report.motion.calibration)
            motionView->setCalibration(report.motion.calibration);
    }
}

void ZelKeyTestView::closeCheckAction()
{
    m_checkTick.reset();
    if (m_check && m_check->isRunning()) {
        // Ended by the user: nothing of it is kept.
        disconnect(m_check, &ControllerCheck::finished, this, &ZelKeyTestView::checkFinished);
        m_check->finish();
    }
    showCheckPanel(false);
}

QString ZelKeyTestView::identityText(const GCControllerPtr& controller)
{
    if (!controller)
        return QString();
    const GCControllerIdentity id = controller->identity();
    QStringList parts { controller->vendorName() };
    if (!id.mapped)
        parts << localized("Unmapped");
    // The controller's kind is a model code ("ps4", "xbox360"), but the word
    // "virtual" is read as a word, in the user's language.
    if (id.type == QLatin1String("virtual"))
        parts << localized("ControllerTypeVirtual");
    else if (!id.type.isEmpty())
        parts << id.type;
    if (!id.vendorProductText().isEmpty())
        parts << id.vendorProductText();
    if (!id.guid.isEmpty())
        parts << id.guid;
    if (!id.serial.isEmpty())
        parts << localized("SerialNumber").arg(id.serial);
    parts << localized("PlayerIndex").arg(controller->playerIndex());
    static const char* const kLevels[]
        = { "BatteryUnknown", "BatteryEmpty", "BatteryLow", "BatteryMedium", "BatteryFull", "BatteryWired" };
    parts << localized("BatteryLevel").arg(localized(kLevels[int(controller->batteryLevel())]));
    return parts.join(QStringLiteral(" \u00b7 "));
}

void ZelKeyTestView::rumbleAction(bool triggers)
{
    const GCControllerPtr controller = shownController();
    if (!controller)
        return;
    const MotorStrengths& s = m_strengths;
    const bool accepted = triggers ? controller->rumbleTriggers(s.leftTrigger, s.rightTrigger, kRumbleMs)
                                   : controller->rumble(s.low, s.high, kRumbleMs);
    if (!accepted)
        MessageToast::showMsgWithtext(localized("RumbleRefused").arg(controller->vendorName()));
}

// One motor on its own: the other of its pair stands still.
void ZelKeyTestView::motorAction(bool triggers, bool first)
{
    const GCControllerPtr controller = shownController();
    if (!controller)
        return;
    const MotorStrengths& s = m_strengths;
    const bool accepted = triggers
        ? controller->rumbleTriggers(first ? s.leftTrigger : 0.0f, first ? 0.0f : s.rightTrigger, kRumbleMs)
        : controller->rumble(first ? s.low : 0.0f, first ? 0.0f : s.high, kRumbleMs);
    if (!accepted)
        MessageToast::showMsgWithtext(localized("RumbleRefused").arg(controller->vendorName()));
}

void ZelKeyTestView::lightAction()
{
    if (!shownController())
        return;
    // Not a modal loop: the controller's events go on while it is open.
    auto* dialog = new ZelLightColourDialog(QColor(m_light[0], m_light[1], m_light[2]), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ZelLightColourDialog::colourChosen, this,
        [this](const QColor& colour) { setLight(colour.red(), colour.green(), colour.blue()); });
    dialog->open();
}

void ZelKeyTestView::setLight(int red, int green, int blue)
{
    m_light = { red, green, blue };
    const GCControllerPtr controller = shownController();
    if (controller && !controller->setLightColor(red, green, blue))
        MessageToast::showMsgWithtext(localized("LightRefused").arg(controller->vendorName()));
}
