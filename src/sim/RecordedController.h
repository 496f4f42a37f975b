#pragma once

#include "sim/SimDevice.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>

#include <optional>

// A controller that answers as a recorded one did (q3dart-cli --record): a
// session on a real controller's link, or one sent with a bug report,
// replayed. Each request the host sends is compared with the next one in the
// recording; when they are the same, the bytes the recorded controller sent
// after it go out with their recorded delays, in their recorded pieces, and
// where the recorded controller went away (a restart) this one goes away and
// comes back as it did. A request sent again that the recording answered
// (a resend) is answered the same way again. The first request that differs
// is named (mismatch()), and nothing is answered after it: the recording does
// not say what the controller would have done.
class RecordedController : public SimDevice {
    Q_OBJECT
public:
    explicit RecordedController(QObject* parent = nullptr);
    ~RecordedController() override;

    // Reads a recording; false with *error set for a file that cannot be
    // read or is no recording.
    bool load(const QString& path, QString* error);
    // Requests and departures in the recording.
    int requestCount() const;
    int restartCount() const;
    // The versions the recorded controller reported last, and how the
    // recorded program ended (-1 when the recording does not say).
    QString recordedVersions() const { return m_versions; }
    int recordedExit() const { return m_exit; }

    // The images the recorded session sent, rebuilt from its data packets
    // as files the host sends the same packets from; empty for a side it did
    // not send. The boot loader's file has the region's offset in front.
    struct Images {
        QByteArray boot, left, right;
    };
    Images images() const;

    void receive(const QByteArray& bytes) override;
    void plugIn() override;

    // Whether every request of the recording has been answered.
    bool isComplete() const;
    // The first request that differed, as a sentence; empty while none did.
    QString mismatchText() const { return m_mismatch; }

signals:
    // A request differed from the recording (text: which, and how).
    void mismatch(const QString& text);
    // The recording's last request has been answered.
    void completed();

private:
    struct Entry {
        enum class Kind { Request, Reply, Detach, Attach } kind;
        double seconds = 0;
        QByteArray bytes;
    };
    void answer(qsizetype request);
    // Plays the entries from m_next on that are not requests, each after its
    // recorded delay; stops at the next request.
    void playOn();
    void sendDue();

    QList<Entry> m_entries;
    QString m_versions;
    int m_exit = -1;
    QByteArray m_input;
    // The next entry to play or to expect, and the request last answered.
    qsizetype m_next = 0;
    std::optional<qsizetype> m_lastAnswered;
    int m_requestsSeen = 0;
    bool m_attached = false;
    QString m_mismatch;
    QTimer m_timer;
    // When the entry before m_next was played (or recorded, for a request).
    double m_playedAt = 0;
};
