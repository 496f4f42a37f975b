#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

#include <optional>

// Asks the system not to sleep while work that must not be interrupted goes
// on (a firmware image half-written stays so), and lets it sleep again after.
// Two locks are asked for: logind's on the system bus, which holds off
// suspend, idle sleep and the lid switch for as long as the descriptor it
// hands out stays open; and the desktop's screen saver on the session bus,
// which holds off idle blanking (and the idle sleep power managers take from
// it) until the cookie it hands out is given back. Either bus may be missing
// (a container, a server): what can be had is held, and the work goes on.
//
// The calls are answered later, on the main thread; a lock that arrives
// after its release was asked for is given back at once.
class SleepInhibitor : public QObject {
    Q_OBJECT
public:
    static inline const QString kWhat = QStringLiteral("sleep:idle:handle-lid-switch");
    static inline const QString kMode = QStringLiteral("block");
    static inline const QString kLogindService = QStringLiteral("org.freedesktop.login1");
    static inline const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
    static inline const QString kLogindInterface = QStringLiteral("org.freedesktop.login1.Manager");
    static inline const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
    static inline const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
    static inline const QString kScreenSaverInterface = QStringLiteral("org.freedesktop.ScreenSaver");
    // A bus that does not answer within this long is taken as missing.
    static constexpr int kCallTimeoutMs = 5000;

    explicit SleepInhibitor(QObject* parent = nullptr);
    // Lets go of whatever is held.
    ~SleepInhibitor() override;

    // Asks for both locks, naming who asks and why (shown by the system).
    // The first bus connection is made here, not before. Asking while held
    // does nothing.
    void hold(const QString& who, const QString& why);
    // Gives back both locks, and any that is still on its way.
    void release();

    bool isHolding() const { return m_holding; }
    // Whether logind's lock, the one that holds off suspend, is held now.
    bool holdsSleep() const { return m_descriptor.isValid(); }
    // Whether the screen saver's lock is held now.
    bool holdsIdle() const { return m_cookie.has_value(); }

signals:
    // logind's lock could not be had (no system bus, no logind, refused);
    // reason is the bus's own text. Once per hold.
    void unavailable(const QString& reason);
    // logind's lock was granted.
    void held();

private:
    void askLogind(const QString& who, const QString& why);
    void askScreenSaver(const QString& who, const QString& why);

    bool m_holding = false;
    // Answers to an earlier hold are recognised by it, and given back.
    quint64 m_generation = 0;
    QDBusUnixFileDescriptor m_descriptor;
    std::optional<uint> m_cookie;
};
