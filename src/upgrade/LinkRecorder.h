#pragma once

#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>

class EAAccessoryManager;

// Writes a session on the link as JSON lines, for a bug report or a test:
// every message the engine writes and every piece of bytes it reads, with its
// direction and time, and every attachment and departure of a controller
// (its restarts). The recording is an emulation of that controller:
// q3dart-sim --replay answers from it. docs/protocol.md has the format.
class LinkRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr int kFormatVersion = 1;
    static inline const QString kFormatName = QStringLiteral("q3dart-link-recording");

    // The attachments and departures are those the accessories manager sees.
    explicit LinkRecorder(EAAccessoryManager& accessories, QObject* parent = nullptr);
    ~LinkRecorder() override;

    // Starts the recording at path (replacing a file there), its header
    // naming the device and the program; false with *error set when it
    // cannot be written. From then on it follows the accessory manager's
    // attachments: every one, or those at location alone.
    bool open(const QString& path, const QString& device, QString* error, const QString& location = QString());
    // What an engine's link tap hands over (ZelFirmwareUpgradeManager::setLinkTap).
    ZelFirmwareUpgradeManager::LinkTap tap();
    // The end: how the program ended and the versions the controller last reported.
    void finish(int exitCode, const QString& versions);
    bool isOpen() const { return m_file.isOpen(); }

private:
    void write(const QJsonObject& line);
    double seconds() const;

    EAAccessoryManager& m_accessories;
    QFile m_file;
    QElapsedTimer m_clock;
};
