#pragma once

#include "input/ControllerCheck.h"
#include "input/MappingEditor.h"
#include "platform/gamepad/GCController.h"
#include "views/ZelBaseView.h"

#include <QLayout>
#include <QList>
#include <QMargins>
#include <QPointF>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class EADSessionController;
class ElidedLabel;
class KestGameControllerManager;
class QAbstractButton;
class QComboBox;
class QLabel;
class QSlider;
class QStackedWidget;
class Timer;
class ZelAnalogueView;
class ZelMappingView;
class ZelMotionView;
class ZelStickCheckView;
class ZelTouchpadView;

// The screen on which the user checks every key and both sticks: each key
// lights while held, each knob moves inside its ring as the stick moves.
// Below them the analogue panel shows one controller: who it is and whose
// clock times its reports, and in pages its values, its motion sensors, its
// touchpads, and its motors and light, each motor on its own at a strength
// the user picks. "Check sticks" runs the guided stick check on that
// controller in a panel that takes the screen's body while it is open, and
// keeps its report in the documents folder; "Map buttons" walks the user
// through a mapping for a controller that has none, in a panel of its own.
// While the screen is shown its controller is measured (motion samples, the
// device's report times).
class KeyTestModel;

class ZelKeyTestView : public ZelBaseView {
    Q_OBJECT
public:
    // The manager whose key and stick slots the screen takes and whose
    // controllers it offers, and the accessory session that rests while it is
    // shown; both outlive the screen.
    ZelKeyTestView(KestGameControllerManager& manager, EADSessionController& session, QWidget* parent = nullptr);
    ~ZelKeyTestView() override;

    std::function<void()> closeBlock;
    QPointer<QAbstractButton> closeButton;
    QPointer<QLabel> joystickTabLabel, dpadTabLabel, leftKeyTabLabel, rightKeyTabLabel;
    QPointer<QAbstractButton> buttonA, buttonB, buttonX, buttonY, buttonL1, buttonL2, buttonL3, buttonR1, buttonR2,
        buttonR3, buttonHome, buttonMenu, buttonOptions, buttonUp, buttonDown, buttonLeft, buttonRight;
    QPointer<QWidget> leftJoystickButton, rightJoystickButton;
    QPointer<QWidget> leftJoystick, rightJoystick;
    double joystickRadius = 0;

    // The analogue panel: which controller it shows (a choice only with
    // several), who that is and whose clock times its reports, and its pages
    // (only those the controller has are offered).
    QPointer<QComboBox> padChooser;
    QPointer<ElidedLabel> identityLabel, clockLabel;
    enum class Page { Values, Motion, Touchpad, Motors };
    QPointer<QAbstractButton> valuesTab, motionTab, touchpadTab, motorsTab;
    QPointer<QStackedWidget> analoguePages;
    QPointer<ZelAnalogueView> analogueView;
    QPointer<ZelMotionView> motionView;
    QPointer<ZelTouchpadView> touchpadView;
    Page page() const;
    void showPage(Page page);
    // The motors page: a strength and a button for each motor on its own,
    // a button for both main motors and for both trigger motors, and the
    // light's colours.
    QPointer<QSlider> lowMotorSlider, highMotorSlider, leftTriggerMotorSlider, rightTriggerMotorSlider;
    QPointer<QAbstractButton> lowMotorButton, highMotorButton, leftTriggerMotorButton, rightTriggerMotorButton;
    QPointer<QAbstractButton> rumbleButton, triggerRumbleButton, lightButton;
    QList<QPointer<QAbstractButton>> lightSwatches;
    // The strengths the motors run at (0..1), as the user set them.
    struct MotorStrengths {
        float low = 1, high = 1, leftTrigger = 1, rightTrigger = 1;
    };
    MotorStrengths motorStrengths() const { return m_strengths; }

    // The stick check: its button in the analogue panel, its panel (shown in
    // place of the keys and values) with its caption, "Check again" and
    // "Done", and the view of its steps and results.
    QPointer<QAbstractButton> checkButton, checkAgainButton, checkCloseButton;
    QPointer<QWidget> checkPanel;
    QPointer<QLabel> checkTitleLabel;
    QPointer<ZelStickCheckView> stickCheckView;
    // The controller's firmware versions, for the check's report; the root
    // screen sets them from the connected screen. Empty when unknown.
    QString firmwareVersions;
    // The clock the check steps by (microseconds): the machine's steady
    // clock unless a test sets its own.
    ControllerCheck::Clock checkClock;
    // How often the screen has a running check look at its clock.
    static constexpr double kCheckTickSeconds = 0.1;
    // The controller the keyboard plays (the demo's); its check names the keys.
    GCControllerPtr keyboardController;
    // The check under way or last finished; null before the first.
    ControllerCheck* stickCheck() const { return m_check; }

    // The window size the interface file is drawn for; the keys, pads, rings
    // and knobs scale together with the smaller of the two ratios to it,
    // within these bounds.
    static constexpr int kDesignWidth = 1024;
    static constexpr int kDesignHeight = 576;
    // Of that height, what does not scale: the title bar and the captions.
    static constexpr int kUnscaledHeight = 140;
    static constexpr double kSmallestScale = 0.6;
    static constexpr double kLargestScale = 2.0;
    // The factor in use.
    double scale() const { return m_scale; }

    // How long the motor buttons run the motors.
    static constexpr int kRumbleMs = 500;
    // The light's colours offered at a click; any other through the colour dialog.
    static constexpr int kLightColours[][3]
        = { { 251, 0, 25 }, { 252, 122, 36 }, { 40, 200, 90 }, { 40, 120, 255 }, { 170, 80, 255 }, { 255, 255, 255 } };

    // The mapping editor: its button in the analogue panel (for a
    // controller without mapping), its panel with its caption, prompt,
    // the elements and their inputs, and Back, Skip, Save and Close. Space
    // skips, Backspace goes back, Ctrl+S saves and Escape closes it.
    QPointer<QAbstractButton> mapButton, mappingBackButton, mappingSkipButton, mappingSaveButton, mappingCloseButton;
    QPointer<QWidget> mappingPanel;
    QPointer<ElidedLabel> mappingTitleLabel;
    QPointer<QLabel> mappingPromptLabel, mappingLineLabel;
    QPointer<ZelMappingView> mappingView;
    // The device's own buttons, axes and hats as they move.
    QPointer<ZelAnalogueView> mappingInputsView;
    MappingEditor* mappingEditor() const { return m_mapping; }
    void mapAction();
    void mappingSaveAction();
    void closeMappingAction();

    // The controller the panel shows; null when none is connected.
    GCControllerPtr shownController() const;
    // What the identity line says about a controller.
    static QString identityText(const GCControllerPtr& controller);

    void closeAction();
    // Starts the check on the shown controller (again, from "Check again").
    void checkAction();
    // Ends a check under way and goes back to the keys and values.
    void closeCheckAction();

protected:
    // Every show closes the accessory session and every hide reopens it.
    void didSetHidden(bool hidden) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commonInit();
    void observeKeyPressedStatus();
    // The 13 keys that light while held, and the four arrows shown only while held.
    QList<QAbstractButton*> normalButtons() const;
    QList<QAbstractButton*> arrowButtons() const;
    // Draws a key as held or let go, as the model holds it.
    void changeButton(QAbstractButton* button, bool selected);
    // Whether the model holds the key of an on-screen key as held.
    bool isHeld(const QAbstractButton* button) const;
    void placeKnobs();
    void observeControllers();
    void refreshControllers();
    void showController(const GCControllerPtr& controller);
    void rumbleAction(bool triggers);
    void motorAction(bool triggers, bool first);
    void lightAction();
    void setLight(int red, int green, int blue);
    void checkFinished();
    void showCheckPanel(bool shown);
    void showMappingPanel(bool shown);
    void showKeyPanels(bool shown);
    void mappingChanged();
    void updatePages(const GCControllerPtr& controller);
    void measure(const GCControllerPtr& controller);
    void setUpMotors(QWidget* content);

    void recordDesign();
    void applyScale(double scale);

    KestGameControllerManager& m_manager;
    EADSessionController& m_session;
    std::vector<GCControllerPtr> m_chooserControllers;
    GCControllerPtr m_measured;
    MotorStrengths m_strengths;
    QPointer<KeyTestModel> m_model;
    std::array<int, 3> m_light { 255, 255, 255 }; // the colour last asked of the light
    std::array<QAbstractButton*, 4> m_tabs {}; // by Page
    QPointer<MappingEditor> m_mapping;
    bool m_savingMapping = false;
    QPointer<ControllerCheck> m_check;
    std::shared_ptr<Timer> m_checkTick;
    // What the check panel stands in for while it is shown.
    QList<QPointer<QWidget>> m_keyPanels;
    // The sizes, spacings and text sizes of the interface file, for scaling.
    struct Fixed {
        QPointer<QWidget> widget;
        QSize size;
        int fontPixels; // 0: the text keeps its size
    };
    struct Spacing {
        QPointer<QLayout> layout;
        QMargins margins;
        int spacing;
    };
    std::vector<Fixed> m_fixed;
    std::vector<Spacing> m_spacings;
    QSize m_knobSize;
    int m_analogueHeight = 0;
    double m_scale = 1.0;
};
