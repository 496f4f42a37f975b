#include "sim/RecordedController.h"

#include "upgrade/ControllerProtocol.h"
#include "upgrade/LinkRecorder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

#include <algorithm>

namespace {

using Protocol = ControllerProtocol;
using Message = ControllerProtocol::Message;

// A pause longer than any the host waits through is a recording left running.
constexpr double kLongestPauseSeconds = 60.0;
// How much of a request a sentence shows.
constexpr qsizetype kShownBytes = 40;

QString shown(const QByteArray& bytes)
{
    const QString hex = QString::fromLatin1(bytes.left(kShownBytes).toHex(' '));
    return bytes.size() > kShownBytes ? hex + QStringLiteral(" …") : hex;
}

// Writes payload at offset into bytes, growing it as needed.
void put(QByteArray& bytes, qsizetype offset, const QByteArray& payload)
{
    if (bytes.size() < offset + payload.size())
        bytes.resize(offset + payload.size(), '\0');
    std::copy(payload.begin(), payload.end(), bytes.begin() + offset);
}

} // namespace

RecordedController::RecordedController(QObject* parent)
    : SimDevice(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RecordedController::sendDue);
}

RecordedController::~RecordedController() = default;

bool RecordedController::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    m_entries.clear();
    bool header = false;
    int number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++number;
        if (line.isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (!header) {
            header = o.value(QStringLiteral("recording")).toString() == LinkRecorder::kFormatName
                && o.value(QStringLiteral("version")).toInt() == LinkRecorder::kFormatVersion;
            if (!header) {
                *error = QStringLiteral("line %1: not a %2 of version %3")
                             .arg(number)
                             .arg(LinkRecorder::kFormatName)
                             .arg(LinkRecorder::kFormatVersion);
                return false;
            }
            continue;
        }
        Entry entry { Entry::Kind::Reply, o.value(QStringLiteral("t")).toDouble(), {} };
        const QString to = o.value(QStringLiteral("to")).toString();
        const QString event = o.value(QStringLiteral("event")).toString();
        if (!to.isEmpty()) {
            entry.kind = to == QLatin1String("controller") ? Entry::Kind::Request : Entry::Kind::Reply;
            entry.bytes = QByteArray::fromHex(o.value(QStringLiteral("bytes")).toString().toLatin1());
        } else if (event == QLatin1String("attach") || event == QLatin1String("detach")) {
            entry.kind = event == QLatin1String("attach") ? Entry::Kind::Attach : Entry::Kind::Detach;
        } else if (event == QLatin1String("end")) {
            m_exit = o.value(QStringLiteral("exit")).toInt(-1);
            m_versions = o.value(QStringLiteral("versions")).toString();
            continue;
        } else {
            *error = QStringLiteral("line %1: neither a message nor an event").arg(number);
            return false;
        }
        m_entries.append(entry);
    }
    if (!header) {
        *error = QStringLiteral("empty");
        return false;
    }
    return true;
}

int RecordedController::requestCount() const
{
    return int(std::count_if(
        m_entries.cbegin(), m_entries.cend(), [](const Entry& e) { return e.kind == Entry::Kind::Request; }));
}

int RecordedController::restartCount() const
{
    return int(std::count_if(
        m_entries.cbegin(), m_entries.cend(), [](const Entry& e) { return e.kind == Entry::Kind::Detach; }));
}

bool RecordedController::isComplete() const
{
    return std::none_of(
        m_entries.cbegin() + m_next, m_entries.cend(), [](const Entry& e) { return e.kind == Entry::Kind::Request; });
}

RecordedController::Images RecordedController::images() const
{
    Images images;
    QByteArray bootRegion, bootHead;
    // The region a left data packet writes: the one the last start named,
    // the application where no start named one.
    uint8_t target = Protocol::kTargetLeftApplication;
    for (const Entry& e : m_entries) {
        if (e.kind != Entry::Kind::Request || e.bytes.size() < Protocol::kCommandSize)
            continue;
        const std::optional<Message> kind = Protocol::messageFor(uint8_t(e.bytes[0]), uint8_t(e.bytes[1]));
        if (kind == Message::LeftStart && e.bytes.size() >= Protocol::kLeftStartSize)
            target = Protocol::readLeftStartTarget(e.bytes);
        else if (kind == Message::LeftEnd)
            target = Protocol::kTargetLeftApplication;
        if ((kind != Message::RightData && kind != Message::LeftProgram) || e.bytes.size() < Protocol::kDataHeaderSize)
            continue;
        const Protocol::DataPacket packet = Protocol::readDataPacket(e.bytes);
        if (kind == Message::RightData) {
            put(images.right, packet.offset, packet.payload);
        } else if (target != Protocol::kTargetBootLoader) {
            put(images.left, packet.offset, packet.payload);
        } else if (packet.offset == 0 && packet.payload.size() == Protocol::kPayloadSize) {
            // A full packet 0 carries the file's first bytes, then the region's.
            bootHead = packet.payload.left(Protocol::kPacketZeroHeadBytes);
            put(bootRegion, Protocol::kPacketZeroHeadBytes, packet.payload.mid(Protocol::kPacketZeroHeadBytes));
        } else {
            put(bootRegion, packet.offset, packet.payload);
        }
    }
    if (!bootRegion.isEmpty()) {
        images.boot = QByteArray(qsizetype(Protocol::kBootRegionOffset), '\0') + bootRegion;
        images.boot.replace(0, bootHead.size(), bootHead);
    }
    return images;
}

void RecordedController::plugIn()
{
    m_attached = true;
    // The recording's own first attachment is this one.
    if (m_next < m_entries.size() && m_entries.at(m_next).kind == Entry::Kind::Attach)
        m_playedAt = m_entries.at(m_next++).seconds;
    QPointer<RecordedController> alive(this);
    if (auto attached = attachRequested)
        attached();
    if (alive)
        playOn();
}

void RecordedController::receive(const QByteArray& bytes)
{
    if (!m_attached || !m_mismatch.isEmpty())
        return;
    m_input.append(bytes);
    qsizetype pos = 0;
    for (;;) {
        qsizetype length = 0;
        const Protocol::RequestFrame frame = Protocol::frameRequest(m_input, pos, &length);
        if (frame == Protocol::RequestFrame::NeedMore)
            break;
        if (frame != Protocol::RequestFrame::Request) {
            pos += frame == Protocol::RequestFrame::Skip1 ? 1 : 2;
            continue;
        }
        const QByteArray request = m_input.mid(pos, length);
        pos += length;
        // What the recorded controller sent before this request came goes out first.
        while (m_next < m_entries.size() && m_entries.at(m_next).kind == Entry::Kind::Reply) {
            m_timer.stop();
            if (auto sink = replySink)
                sink(m_entries.at(m_next).bytes);
            m_playedAt = m_entries.at(m_next++).seconds;
        }
        if (m_next < m_entries.size() && m_entries.at(m_next).kind == Entry::Kind::Request
            && m_entries.at(m_next).bytes == request) {
            answer(m_next);
            continue;
        }
        if (m_lastAnswered && m_entries.at(*m_lastAnswered).bytes == request) {
            // Sent again: answered again, at once, as the recorded controller answered it.
            for (qsizetype i = *m_lastAnswered + 1; i < m_entries.size() && m_entries.at(i).kind == Entry::Kind::Reply;
                 ++i)
                if (auto sink = replySink)
                    sink(m_entries.at(i).bytes);
            continue;
        }
        const int number = m_requestsSeen + 1;
        if (m_next < m_entries.size() && m_entries.at(m_next).kind == Entry::Kind::Request) {
            const QByteArray& recorded = m_entries.at(m_next).bytes;
            qsizetype at = 0;
            while (at < request.size() && at < recorded.size() && request[at] == recorded[at])
                ++at;
            m_mismatch = QStringLiteral("request %1 differs from the recording at byte %2: sent %3, recorded %4")
                             .arg(number)
                             .arg(at)
                             .arg(shown(request), shown(recorded));
        } else {
            m_mismatch = QStringLiteral("request %1 is not in the recording: sent %2").arg(number).arg(shown(request));
        }
        m_timer.stop();
        emit mismatch(m_mismatch);
        return;
    }
    m_input.remove(0, pos);
}

void RecordedController::answer(qsizetype request)
{
    ++m_requestsSeen;
    m_lastAnswered = request;
    m_playedAt = m_entries.at(request).seconds;
    m_next = request + 1;
    if (isComplete())
        emit completed();
    playOn();
}

void RecordedController::playOn()
{
    if (m_next >= m_entries.size() || m_entries.at(m_next).kind == Entry::Kind::Request || !m_mismatch.isEmpty())
        return;
    const double pause = std::clamp(m_entries.at(m_next).seconds - m_playedAt, 0.0, kLongestPauseSeconds);
    m_timer.start(int(pause * 1000));
}

void RecordedController::sendDue()
{
    if (m_next >= m_entries.size())
        return;
    const Entry entry = m_entries.at(m_next++);
    m_playedAt = entry.seconds;
    QPointer<RecordedController> alive(this);
    switch (entry.kind) {
    case Entry::Kind::Reply:
        if (auto sink = replySink)
            sink(entry.bytes);
        break;
    case Entry::Kind::Detach:
        m_attached = false;
        m_input.clear();
        if (auto detached = detachRequested)
            detached();
        break;
    case Entry::Kind::Attach:
        m_attached = true;
        if (auto attached = attachRequested)
            attached();
        break;
    case Entry::Kind::Request:
        break;
    }
    if (alive)
        playOn();
}
