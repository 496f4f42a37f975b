#pragma once

#include "lib/MessageToast.h"
#include "platform/EAAccessory.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class LocalLink;
class SimAccessoryTransport;
class SimulatedController;

namespace testsupport {

// Scales every engine timer down for the test process (8 s becomes 80 ms at 0.01).
void useFastTime(double scale = 0.01);

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
    EAAccessoryPtr waitForAccessory(int timeoutMs = 2000) const;
    // Waits for the accessory and configures the session for it with the first
    // declared protocol, as the application's accessory check does; false when
    // the controller never attached.
    bool configureSession(int timeoutMs = 2000) const;

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
// Unlike QTest::qWaitFor it never sleeps between events, so byte exchanges
// run at full speed while it waits.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs the event loop for about ms milliseconds.
void spin(int ms);

QByteArray bytes(std::initializer_list<int> values);

} // namespace testsupport
