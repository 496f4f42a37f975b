#pragma once

#include "lib/MessageToast.h"
#include "platform/transport/EAAccessory.h"
#include "platform/gamepad/VirtualGameController.h"
#include "sim/SimulatedController.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTest>

#include <functional>
#include <memory>

class GameControllerService;
class LocalLink;
class QWidget;
class SimAccessoryTransport;
class SimulatedController;
class ZelFirmwareUpgradeManager;

namespace testsupport {

// Generous upper bound for waits on observable state: costs nothing when the
// state arrives early, and leaves room for a loaded machine.
constexpr int kPatienceMs = 30000;

} // namespace testsupport

// QTRY_VERIFY and QTRY_COMPARE wait on state too: with the same bound.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, testsupport::kPatienceMs)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, testsupport::kPatienceMs)

namespace testsupport {

// A screen's widget as a Qt test reaches it, by its object name; null when it has none.
template <class T = QWidget> T* widgetNamed(const QObject* screen, const char* name)
{
    return screen ? screen->findChild<T*>(QLatin1String(name)) : nullptr;
}

// Scales every engine timer down for the test process (8 s becomes 80 ms at 0.01).
void useFastTime(double scale = 0.01);

// Sets the time scale for its lifetime and puts the previous one back: a test
// scales only while the timer it examines is armed. A delay keeps the length
// it was armed with when the scale changes afterwards.
class TimeScale {
public:
    explicit TimeScale(double scale);
    ~TimeScale();
    TimeScale(const TimeScale&) = delete;
    TimeScale& operator=(const TimeScale&) = delete;

private:
    double m_previous;
};

// Engine seconds that last `seconds` of real time at the current scale: for
// the watchdogs a test does not examine, which must keep their real length.
double realSeconds(double seconds);

// Runs the event loop until a MainQueue delay of `seconds`, armed now, has
// run. Delays and timers fire in the order they are due, so every MainQueue
// delay or timer of at most that length armed before the call has fired by
// then: the way to show that such a timer did nothing.
bool waitForMainQueueDelay(double seconds);

// Runs the event loop until everything posted before the call has been
// delivered, and what that posted in turn, `rounds` deep. The streams, local
// links and notifications of the accessory service hand bytes on this way.
void drainPostedEvents(int rounds = 8);

// Installs a recording toast presenter for the lifetime of the object.
class ToastRecorder : public RecordingToastPresenter {
public:
    ToastRecorder();
    ~ToastRecorder() override;
};

// The simulated controller attached in-process through the accessory manager,
// as the demo and the application use it.
class SimulatedAttachment {
public:
    SimulatedAttachment();
    ~SimulatedAttachment();

    SimulatedController& controller() const;
    SimAccessoryTransport& transport() const { return *m_transport; }
    // Waits until the controller is attached; the accessory, or null.
    EAAccessoryPtr waitForAccessory(int timeoutMs = kPatienceMs) const;
    // Waits for the accessory and configures the session for it with the first
    // declared protocol, as the application's accessory check does; false when
    // the controller never attached.
    bool configureSession(int timeoutMs = kPatienceMs) const;
    // Whether the session is open on the controller's current attachment, as
    // the engine leaves it once it has followed the controller's return.
    bool sessionIsOpen() const;
    // Waits until the controller is attached and the session open on it.
    bool waitForSession(int timeoutMs = kPatienceMs) const;
    // Lets the exchanges under way finish, `rounds` replies deep, when the
    // controller answers without delay: bytes travel through posted events
    // and the controller sends its queued replies one per zero-length timer.
    void settleExchanges(int rounds = 4) const;

private:
    SimAccessoryTransport* m_transport;
};

// A device at the far end of a local link that records what it receives and
// answers with whatever the test tells it to.
class RecordingPeer {
public:
    explicit RecordingPeer(LocalLink* link);
    QByteArray received;
    std::function<void(const QByteArray&)> onReceive;
    void reply(const QByteArray& bytes) const;

private:
    LocalLink* m_link;
};

// Runs the event loop until done() holds or timeoutMs passed; whether it holds.
// Unlike QTest::qWaitFor it never sleeps while events are pending, so byte
// exchanges run at full speed while it waits; with none pending it blocks.
// The service the tests' game controllers are plugged into: the one whose
// list the game-controller manager and the screens follow.
GameControllerService& controllerService();

// The game-controller manager reports a stick's movement since the last
// report of any controller's same stick: a case that follows the movements
// starts from a pad whose sticks have just been centred.
std::unique_ptr<VirtualGameController> plugInCentredPad();

bool waitUntil(const std::function<bool()>& done, int timeoutMs = kPatienceMs);

QByteArray bytes(std::initializer_list<int> values);

// Asks the engine for the controller's versions and waits for the answer;
// empty when none came. The answer is kept outside the caller's frame, so a
// query answered late (after a run held it) writes nowhere it should not.
QString readControllerVersions(int timeoutMs = kPatienceMs);

// A port on 127.0.0.1 that nobody listens on (0 when none could be had).
quint16 unusedPort();

// Writes bytes to name in dir; the file's path.
QString writeTestFile(const QString& dir, const QString& name, const QByteArray& bytes);

// Lists terminal `name` as the kernel does in the tree `sys` (a stand-in for
// /sys): a folder in class/tty whose device lies below the USB device `port`
// (e.g. "1-1") with these vendor and product ids; false when it could not be written.
bool addUsbTerminal(
    const QString& sys, const QString& name, const QString& port, const QByteArray& vendor, const QByteArray& product);

// A firmware image of `size` bytes whose trailer tells the simulated
// controller its version; byte i before it is i * stride + seed, so images
// made with different seeds or strides differ everywhere.
QByteArray firmwareImage(int size, SimVersion version, int seed = 0, int stride = 7);

// Session send and record helpers ------------------------------------------

// The messages the simulated controller received, from the from-th on, that
// begin with these two bytes (a request's kind), in their order.
QList<QByteArray> receivedStartingWith(
    const SimulatedController& controller, uint8_t first, uint8_t second, qsizetype from = 0);

// readControllerVersions for an engine of the test's own.
QString readControllerVersions(ZelFirmwareUpgradeManager& engine, int timeoutMs = kPatienceMs);

// Between two cases: the engine's run over, the controller back from any
// restart with the session open on it, and the last version query answered
// (a query leaves its device information request a moment behind the right
// side's answer, and that answer would reach the next case's query too).
bool waitForEngineAtRest(ZelFirmwareUpgradeManager& engine, SimulatedAttachment& attachment);

// A scripted device attached over a local link of its own: the link, the
// peer that records what the host sends and answers for the device, and the
// accessory the host sees (not announced to the accessory manager). The
// accessory goes first, then the peer, then the link.
class PeerAccessory {
public:
    explicit PeerAccessory(const QString& protocol);
    ~PeerAccessory();
    PeerAccessory(const PeerAccessory&) = delete;
    PeerAccessory& operator=(const PeerAccessory&) = delete;
    LocalLink* link() const { return m_link.get(); }
    RecordingPeer& peer() { return m_peer; }
    const EAAccessoryPtr& accessory() const { return m_accessory; }

private:
    std::unique_ptr<LocalLink> m_link;
    RecordingPeer m_peer;
    EAAccessoryPtr m_accessory;
};

} // namespace testsupport
