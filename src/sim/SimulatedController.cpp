#include "SimulatedController.h"

#include "upgrade/ControllerProtocol.h"
#include "upgrade/DeviceInformation.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace {

using Protocol = ControllerProtocol;
using Message = ControllerProtocol::Message;

constexpr uint8_t kOk = Protocol::kStatusOk;
constexpr uint8_t kRefused = Protocol::kStatusRefused;
// Where the status byte of an acknowledgement and of a left start reply sits,
// for the corruption fault.
constexpr int kAckStatusIndex = 2;
constexpr int kLeftStartStatusIndex = 3;

uint8_t at(const QByteArray& a, qsizetype i)
{
    return uint8_t(a[i]);
}

// Bytes written by one exchange, with a record of which ones were actually
// received so that holes are never mistaken for data.
struct Staging {
    QByteArray data;
    std::vector<bool> written;

    void clear()
    {
        data.clear();
        written.clear();
    }

    void put(int offset, const QByteArray& payload)
    {
        const qsizetype end = offset + payload.size();
        if (end > data.size()) {
            data.resize(end, '\0');
            written.resize(size_t(end), false);
        }
        std::copy(payload.begin(), payload.end(), data.begin() + offset);
        std::fill(written.begin() + offset, written.begin() + end, true);
    }

    bool complete() const
    {
        return std::all_of(written.begin(), written.end(), [](bool w) { return w; });
    }

    bool matches(int offset, const QByteArray& payload) const
    {
        const qsizetype end = offset + payload.size();
        if (end > data.size())
            return false;
        if (!std::all_of(written.begin() + offset, written.begin() + end, [](bool w) { return w; }))
            return false;
        return std::equal(payload.begin(), payload.end(), data.begin() + offset);
    }
};

struct RightExchange {
    bool started = false;
    bool checksumAccepted = false;
    bool committed = false; // the end wrote the flash
    int packets = 0;
    Staging staging;
};

struct LeftExchange {
    bool started = false;
    uint8_t target = 0; // the start's target: the application or the boot loader
    std::optional<int> announcedLength;
    bool failed = false; // a verify packet did not match
    int packets = 0; // program and verify packets together
    Staging staging;
    std::vector<bool> verified;
};

struct Outgoing {
    qint64 dueMs = 0;
    QByteArray bytes;
    bool restart = false; // not a reply: the controller restarts here
};

} // namespace

struct SimulatedController::Impl {
    explicit Impl(SimulatedController* owner)
        : q(owner)
        , rng(1)
    {
    }

    SimulatedController* q;
    DeviceInfo info;
    SimVersion boot { 1, 0 }, left { 2, 3 }, right { 1, 5 };
    QByteArray rightFlash, leftFlash, bootFlash;
    SimFaults faults;
    QRandomGenerator rng;

    bool attached = true;
    quint64 generation = 0; // bumped on every detach; stale work compares it
    int requestDelay = 0; // extra delay for the replies to the request in hand
    QByteArray input;
    bool parsing = false;
    QList<QByteArray> received;
    int restarts = 0;

    RightExchange rightX;
    LeftExchange leftX;

    std::deque<Outgoing> queue;
    qint64 lastDueMs = 0;
    QByteArray held; // a reply held back to merge with the next one
    QTimer heldTimer; // ends the wait of a held reply that has a merge window
    bool strayPending = false; // noise goes out before the next reply
    QElapsedTimer clock;
    QTimer pumpTimer;
    QTimer plugTimer;

    qint64 now() const { return clock.elapsed(); }

    // Parsing --------------------------------------------------------------

    void dispatch(const QByteArray& msg);

    // Requests -------------------------------------------------------------

    void rightStart();
    void rightData(const QByteArray& msg);
    void rightChecksum(const QByteArray& msg);
    void rightEnd();
    void deviceInformation();
    void leftStart(uint8_t target);
    void leftLength(const QByteArray& msg);
    void leftProgram(const QByteArray& msg);
    void leftVerify(const QByteArray& msg);
    void leftEnd();
    bool unplugHere(int* packetCounter);

    // Replies and attachment -------------------------------------------------

    void reply(QByteArray bytes, int statusIndex);
    // Queues bytes towards the host, whole or in the split fault's pieces.
    void send(const QByteArray& bytes, qint64 due, bool split);
    void releaseHeld();
    uint8_t noiseByte();
    bool roll(int* counter, double rate);
    void enqueue(Outgoing item);
    void schedulePump();
    void pump();
    void detach();
    void attach();
    void scheduleAttach(int ms);
};

// --- Parsing -----------------------------------------------------------------

void SimulatedController::Impl::dispatch(const QByteArray& msg)
{
    requestDelay = std::max(0, faults.requestDelayMs.value(msg.left(Protocol::kCommandSize), 0));
    const std::optional<Message> kind = Protocol::messageFor(at(msg, 0), at(msg, 1));
    if (!kind)
        return;
    switch (*kind) {
    case Message::RightVersion:
        reply(Protocol::rightVersionReply(right.major, right.minor), -1);
        return;
    case Message::RightStart:
        rightStart();
        return;
    case Message::RightData:
        rightData(msg);
        return;
    case Message::RightChecksum:
        rightChecksum(msg);
        return;
    case Message::RightEnd:
        rightEnd();
        return;
    case Message::DeviceInformation:
        deviceInformation();
        return;
    case Message::LeftStart:
        leftStart(Protocol::readLeftStartTarget(msg));
        return;
    case Message::LeftLength:
        leftLength(msg);
        return;
    case Message::LeftProgram:
        leftProgram(msg);
        return;
    case Message::LeftVerify:
        leftVerify(msg);
        return;
    case Message::LeftEnd:
        leftEnd();
        return;
    }
}

// --- Requests ----------------------------------------------------------------

void SimulatedController::Impl::deviceInformation()
{
    DeviceInformation record;
    std::copy(info.btAddress.begin(), info.btAddress.end(), record.local_bt_addr);
    auto minorFirst = [](uint8_t(&field)[2], SimVersion v) {
        field[0] = v.minor;
        field[1] = v.major;
    };
    minorFirst(record.hardwarev_ver, info.hardware);
    minorFirst(record.bluetooth_ver, info.bluetooth);
    minorFirst(record.software_ver, left);
    minorFirst(record.gcmprotocol_ver, info.protocol);
    // The boot loader's version is stored major first, unlike the others.
    record.bootsoftware_ver[0] = boot.major;
    record.bootsoftware_ver[1] = boot.minor;
    record.year = info.year;
    record.month = info.month;
    record.day = info.day;
    reply(Protocol::deviceInformationReply(record), -1);
}

// A fault unplug on data packet N of the exchange: the packet is lost with the
// attachment. Fires once, so a retried exchange can get through.
bool SimulatedController::Impl::unplugHere(int* packetCounter)
{
    const int index = (*packetCounter)++;
    if (faults.unplugAtPacket < 0 || index != faults.unplugAtPacket)
        return false;
    faults.unplugAtPacket = -1;
    const int returnMs = faults.unplugReturnMs;
    QPointer<SimulatedController> alive(q);
    detach();
    if (alive)
        scheduleAttach(returnMs);
    return true;
}

void SimulatedController::Impl::rightStart()
{
    rightX = RightExchange {};
    if (faults.refuseStart) {
        reply(Protocol::acknowledgement(Message::RightStart, kRefused), kAckStatusIndex);
        return;
    }
    rightX.started = true;
    reply(Protocol::acknowledgement(Message::RightStart, kOk), kAckStatusIndex);
}

void SimulatedController::Impl::rightData(const QByteArray& msg)
{
    const Protocol::DataPacket packet = Protocol::readDataPacket(msg);
    if (rightX.committed || (!rightX.started && packet.offset == 0))
        rightX = RightExchange {};
    if (unplugHere(&rightX.packets))
        return;
    rightX.staging.put(packet.offset, packet.payload);
    // New data after a checksum invalidates it; the host must sum again.
    rightX.checksumAccepted = false;
    reply(Protocol::rightDataReply(msg, kOk), kAckStatusIndex);
}

void SimulatedController::Impl::rightChecksum(const QByteArray& msg)
{
    const Protocol::Checksum checksum = Protocol::readChecksum(msg);
    const quint32 sum = checksum.sum, count = checksum.bytes;
    quint32 staged = 0;
    for (char c : std::as_const(rightX.staging.data))
        staged += uint8_t(c);
    const Staging& s = rightX.staging;
    // An empty image or one with holes would replace good firmware with nothing
    // or with zero-filled gaps, so neither is accepted whatever the sum says.
    const bool ok = !faults.refuseChecksum && !s.data.isEmpty() && s.complete() && count == quint32(s.data.size())
        && sum == staged;
    rightX.checksumAccepted = ok;
    reply(Protocol::acknowledgement(Message::RightChecksum, ok ? kOk : kRefused), kAckStatusIndex);
}

void SimulatedController::Impl::rightEnd()
{
    // The exchange stays open after a good end, so that an end resent because
    // its acknowledgement was lost is answered the same way again.
    if (faults.refuseEnd || !rightX.checksumAccepted) {
        reply(Protocol::acknowledgement(Message::RightEnd, kRefused), kAckStatusIndex);
        return;
    }
    rightX.committed = true;
    rightFlash = rightX.staging.data;
    if (const auto v = SimulatedController::versionFromTrailer(rightFlash))
        right = *v;
    reply(Protocol::acknowledgement(Message::RightEnd, kOk), kAckStatusIndex);
    emit q->flashWritten();
}

void SimulatedController::Impl::leftStart(uint8_t target)
{
    leftX = LeftExchange {};
    const bool known = target == Protocol::kTargetLeftApplication || target == Protocol::kTargetBootLoader;
    if (faults.refuseStart || !known) {
        reply(Protocol::leftStartReply(target, kRefused), kLeftStartStatusIndex);
        return;
    }
    leftX.started = true;
    leftX.target = target;
    reply(Protocol::leftStartReply(target, kOk), kLeftStartStatusIndex);
}

void SimulatedController::Impl::leftLength(const QByteArray& msg)
{
    leftX.announcedLength = Protocol::readLeftLength(msg);
    reply(Protocol::acknowledgement(Message::LeftLength, kOk), kAckStatusIndex);
}

void SimulatedController::Impl::leftProgram(const QByteArray& msg)
{
    const Protocol::DataPacket packet = Protocol::readDataPacket(msg);
    const int offset = packet.offset;
    if (!leftX.started && offset == 0) {
        // Keeps a length announced without a start.
        const std::optional<int> announced = leftX.announcedLength;
        leftX = LeftExchange {};
        leftX.announcedLength = announced;
    }
    if (unplugHere(&leftX.packets))
        return;
    const QByteArray& payload = packet.payload;
    leftX.staging.put(offset, payload);
    // Rewritten bytes have to be verified again.
    const size_t end = std::min(leftX.verified.size(), size_t(offset + payload.size()));
    for (size_t i = size_t(offset); i < end; ++i)
        leftX.verified[i] = false;
    reply(Protocol::acknowledgement(Message::LeftProgram, kOk), kAckStatusIndex);
}

void SimulatedController::Impl::leftVerify(const QByteArray& msg)
{
    if (unplugHere(&leftX.packets))
        return;
    const Protocol::DataPacket packet = Protocol::readDataPacket(msg);
    const int offset = packet.offset;
    const QByteArray& payload = packet.payload;
    if (!leftX.staging.matches(offset, payload)) {
        leftX.failed = true;
        reply(Protocol::acknowledgement(Message::LeftVerify, kRefused), kAckStatusIndex);
        return;
    }
    const size_t end = size_t(offset + payload.size());
    if (leftX.verified.size() < end)
        leftX.verified.resize(end, false);
    std::fill(leftX.verified.begin() + offset, leftX.verified.begin() + qsizetype(end), true);
    reply(Protocol::acknowledgement(Message::LeftVerify, kOk), kAckStatusIndex);
}

void SimulatedController::Impl::leftEnd()
{
    const Staging& s = leftX.staging;
    const int announced = leftX.announcedLength.value_or(int(s.data.size()));
    const bool allVerified = leftX.verified.size() >= size_t(announced)
        && std::all_of(leftX.verified.begin(), leftX.verified.begin() + announced, [](bool v) { return v; });
    // An empty region is refused: committing it would erase the side's firmware.
    const bool ok = !faults.refuseEnd && !leftX.failed && announced > 0 && s.data.size() == announced && s.complete()
        && allVerified;
    if (!ok) {
        reply(Protocol::acknowledgement(Message::LeftEnd, kRefused), kAckStatusIndex);
        return;
    }
    const auto version = SimulatedController::versionFromTrailer(s.data);
    if (leftX.started && leftX.target == Protocol::kTargetBootLoader) {
        bootFlash = s.data;
        if (version)
            boot = *version;
    } else {
        leftFlash = s.data;
        if (version)
            left = *version;
    }
    leftX = LeftExchange {};
    reply(Protocol::acknowledgement(Message::LeftEnd, kOk), kAckStatusIndex);
    emit q->flashWritten();
    // The restart follows the acknowledgement, whatever delay that has; a
    // reply held to be glued to the next leaves before it.
    releaseHeld();
    enqueue(Outgoing { now(), {}, true });
}

// --- Replies and attachment ---------------------------------------------------

bool SimulatedController::Impl::roll(int* counter, double rate)
{
    // Always draw, so that one seed gives one fault sequence whatever the counters.
    const bool random = rng.generateDouble() < rate;
    if (*counter > 0) {
        --*counter;
        return true;
    }
    return random;
}

void SimulatedController::Impl::reply(QByteArray r, int statusIndex)
{
    const bool drop = roll(&faults.dropReplies, faults.dropRate);
    const bool corrupt = roll(&faults.corruptReplies, faults.corruptRate);
    const bool merge = roll(&faults.mergeReplies, faults.mergeRate);
    const bool duplicate = roll(&faults.duplicateReplies, faults.duplicateRate);
    const bool split = roll(&faults.splitReplies, faults.splitRate);
    const int extraDelay = faults.maxRandomDelayMs > 0 ? int(rng.bounded(faults.maxRandomDelayMs + 1)) : 0;

    if (drop)
        return;
    if (corrupt) {
        const qsizetype i = statusIndex >= 0 && statusIndex < r.size() ? statusIndex : 0;
        r[i] = char(at(r, i) ^ 0xFF);
    }
    if (std::exchange(strayPending, false))
        r.prepend(char(noiseByte()));
    const qint64 due = now() + std::max(0, faults.replyDelayMs) + requestDelay + extraDelay;
    for (int copy = 0; copy < (duplicate ? 2 : 1); ++copy) {
        // Only the first copy is held back: the second is the one it is glued to.
        if (merge && copy == 0) {
            held.append(r);
            if (faults.mergeWindowMs >= 0)
                heldTimer.start(faults.mergeWindowMs);
            continue;
        }
        QByteArray bytes = std::exchange(held, QByteArray()) + r;
        heldTimer.stop();
        send(bytes, due, split);
    }
}

void SimulatedController::Impl::send(const QByteArray& bytes, qint64 due, bool split)
{
    if (!split || bytes.size() < 2) {
        enqueue(Outgoing { due, bytes, false });
        return;
    }
    const qsizetype piece = faults.splitSize > 0 ? faults.splitSize : (bytes.size() + 1) / 2;
    for (qsizetype from = 0; from < bytes.size(); from += piece)
        enqueue(
            Outgoing { from == 0 ? due : lastDueMs + std::max(0, faults.splitGapMs), bytes.mid(from, piece), false });
}

void SimulatedController::Impl::releaseHeld()
{
    heldTimer.stop();
    if (!held.isEmpty())
        enqueue(Outgoing { now(), std::exchange(held, QByteArray()), false });
}

uint8_t SimulatedController::Impl::noiseByte()
{
    uint8_t b = 0;
    do
        b = uint8_t(rng.bounded(256));
    while (Protocol::isFirstCommandByte(b));
    return b;
}

void SimulatedController::Impl::enqueue(Outgoing item)
{
    // Never before what is already queued: replies keep their order.
    item.dueMs = std::max(item.dueMs, lastDueMs);
    lastDueMs = item.dueMs;
    queue.push_back(std::move(item));
    schedulePump();
}

void SimulatedController::Impl::schedulePump()
{
    if (queue.empty()) {
        pumpTimer.stop();
        return;
    }
    pumpTimer.start(int(std::max<qint64>(0, queue.front().dueMs - now())));
}

// One item per timer event, so that the host reads each reply on its own.
void SimulatedController::Impl::pump()
{
    if (queue.empty() || queue.front().dueMs > now()) {
        schedulePump();
        return;
    }
    Outgoing item = std::move(queue.front());
    queue.pop_front();
    QPointer<SimulatedController> alive(q);
    if (item.restart) {
        ++restarts;
        const int delay = faults.restartDelayMs;
        detach();
        if (!alive)
            return;
        scheduleAttach(delay);
    } else if (auto sink = q->replySink) {
        sink(item.bytes);
        if (!alive)
            return;
    }
    schedulePump();
}

void SimulatedController::Impl::detach()
{
    if (!attached)
        return;
    attached = false;
    ++generation;
    input.clear();
    queue.clear();
    held.clear();
    heldTimer.stop();
    strayPending = false;
    lastDueMs = 0; // nothing queued holds back the next attachment's replies
    pumpTimer.stop();
    plugTimer.stop();
    // Power goes with the attachment: an unfinished exchange is lost.
    rightX = RightExchange {};
    leftX = LeftExchange {};
    if (auto cb = q->detachRequested)
        cb();
}

void SimulatedController::Impl::attach()
{
    // Announced even when already attached: the owner may be waiting for it to
    // present the controller for the first time.
    plugTimer.stop();
    attached = true;
    strayPending = faults.strayByteOnAttach;
    if (auto cb = q->attachRequested)
        cb();
}

void SimulatedController::Impl::scheduleAttach(int ms)
{
    if (ms < 0)
        plugTimer.stop();
    else
        plugTimer.start(ms);
}

// --- Public interface -----------------------------------------------------------

SimulatedController::SimulatedController(QObject* parent)
    : SimDevice(parent)
    , d(std::make_unique<Impl>(this))
{
    d->clock.start();
    d->pumpTimer.setSingleShot(true);
    d->pumpTimer.setTimerType(Qt::PreciseTimer);
    d->plugTimer.setSingleShot(true);
    d->heldTimer.setSingleShot(true);
    connect(&d->heldTimer, &QTimer::timeout, this, [this] { d->releaseHeld(); });
    connect(&d->pumpTimer, &QTimer::timeout, this, [this] { d->pump(); });
    connect(&d->plugTimer, &QTimer::timeout, this, [this] { d->attach(); });
}

SimulatedController::~SimulatedController() = default;

QByteArray SimulatedController::versionTrailer(SimVersion version)
{
    QByteArray t("Q3DV");
    t.append(char(version.major)).append(char(version.minor)).append('\0').append('\0');
    return t;
}

std::optional<SimVersion> SimulatedController::versionFromTrailer(const QByteArray& image)
{
    if (image.size() < kTrailerSize)
        return std::nullopt;
    const QByteArray t = image.right(kTrailerSize);
    if (!t.startsWith("Q3DV") || t[6] != '\0' || t[7] != '\0')
        return std::nullopt;
    return SimVersion { at(t, 4), at(t, 5) };
}

bool SimulatedController::setVersions(const QString& bootLeftRight)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})-(\\d{1,3})\\.(\\d{1,3})-(\\d{1,3})\\.(\\d{1,3})$"));
    const auto m = re.match(bootLeftRight);
    if (!m.hasMatch())
        return false;
    uint8_t n[6];
    for (int i = 0; i < 6; ++i) {
        const uint v = m.captured(i + 1).toUInt();
        if (v > 255)
            return false;
        n[i] = uint8_t(v);
    }
    d->boot = { n[0], n[1] };
    d->left = { n[2], n[3] };
    d->right = { n[4], n[5] };
    return true;
}

QString SimulatedController::versionsText() const
{
    return d->boot.text() + u'-' + d->left.text() + u'-' + d->right.text();
}

SimVersion SimulatedController::bootVersion() const
{
    return d->boot;
}
SimVersion SimulatedController::leftVersion() const
{
    return d->left;
}
SimVersion SimulatedController::rightVersion() const
{
    return d->right;
}
SimulatedController::DeviceInfo& SimulatedController::deviceInfo()
{
    return d->info;
}
QByteArray SimulatedController::rightFlash() const
{
    return d->rightFlash;
}
QByteArray SimulatedController::leftApplicationFlash() const
{
    return d->leftFlash;
}
QByteArray SimulatedController::bootLoaderFlash() const
{
    return d->bootFlash;
}
SimFaults& SimulatedController::faults()
{
    return d->faults;
}
void SimulatedController::setSeed(quint32 seed)
{
    d->rng.seed(seed);
}
bool SimulatedController::isAttached() const
{
    return d->attached;
}
const QList<QByteArray>& SimulatedController::receivedMessages() const
{
    return d->received;
}

bool SimulatedController::hasPendingReplies() const
{
    return !d->queue.empty() || !d->held.isEmpty();
}

void SimulatedController::releaseHeldReply()
{
    d->releaseHeld();
}
int SimulatedController::restartCount() const
{
    return d->restarts;
}

void SimulatedController::receive(const QByteArray& bytes)
{
    if (!d->attached)
        return; // an unplugged device hears nothing
    d->input.append(bytes);
    if (d->parsing)
        return; // re-entered from a callback: the outer loop goes on

    QPointer<SimulatedController> alive(this);
    const quint64 generation = d->generation;
    d->parsing = true;
    qsizetype pos = 0;
    for (;;) {
        qsizetype length = 0;
        const auto f = Protocol::frameRequest(d->input, pos, &length);
        if (f == Protocol::RequestFrame::NeedMore)
            break;
        if (f == Protocol::RequestFrame::Skip1 || f == Protocol::RequestFrame::Skip2) {
            pos += f == Protocol::RequestFrame::Skip1 ? 1 : 2;
            continue;
        }
        const QByteArray msg = d->input.mid(pos, length);
        pos += length;
        d->received.append(msg);
        emit messageReceived(msg);
        if (!alive)
            return;
        d->dispatch(msg);
        if (!alive)
            return;
        if (d->generation != generation) {
            // Detached while handling it: the rest of the input went with the attachment.
            d->parsing = false;
            return;
        }
    }
    d->input.remove(0, pos);
    d->parsing = false;
}

void SimulatedController::unplug(int returnAfterMs)
{
    QPointer<SimulatedController> alive(this);
    d->detach();
    if (alive)
        d->scheduleAttach(returnAfterMs);
}

void SimulatedController::plugIn()
{
    d->attach();
}

std::optional<SimulatedController::Fault> SimulatedController::faultNamed(const QString& name)
{
    if (name == QLatin1String("refuse-checksum"))
        return Fault::RefuseChecksum;
    if (name == QLatin1String("refuse-end"))
        return Fault::RefuseEnd;
    if (name == QLatin1String("silent-end"))
        return Fault::SilentEnd;
    return std::nullopt;
}

void SimulatedController::inject(Fault fault)
{
    switch (fault) {
    case Fault::RefuseChecksum:
        faults().refuseChecksum = true;
        return;
    case Fault::RefuseEnd:
        faults().refuseEnd = true;
        return;
    case Fault::SilentEnd: {
        // Far beyond any wait of the host's.
        constexpr int kNeverMs = 24 * 3600 * 1000;
        using Message = ControllerProtocol::Message;
        faults().requestDelayMs.insert(ControllerProtocol::request(Message::RightEnd), kNeverMs);
        faults().requestDelayMs.insert(ControllerProtocol::request(Message::LeftEnd), kNeverMs);
        return;
    }
    }
}
