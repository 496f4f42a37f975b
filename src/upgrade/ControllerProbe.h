#pragma once

#include "platform/transport/EAAccessory.h"

#include <QList>
#include <QObject>
#include <QString>

class ZelFirmwareUpgradeManager;

// Finds the controller among the engine's registry's controllers (the
// attached accessories that offer a declared protocol) when the user has
// named no device: any USB serial adapter looks
// like one until it is asked. Each is asked for its versions in the order it
// attached, one at a time; one that does not answer within the query's limit
// is set aside and the next is asked. Accessories that attach meanwhile join
// the queue. The one that answers is the accessory the engine follows.
class ControllerProbe : public QObject {
    Q_OBJECT
public:
    // How long past the engine's own query limit an answer may take.
    static constexpr double kAnswerGrace = 0.25;

    struct Tried {
        QString device;
        bool answered = false;
    };

    // engine asks each controller its registry holds or makes.
    explicit ControllerProbe(ZelFirmwareUpgradeManager& engine, QObject* parent = nullptr);

    // Asks the accessories attached now and those that attach later until one answers.
    void start();
    // The accessory that answered; null before.
    EAAccessoryPtr controller() const { return m_controller; }
    // What it answered ("boot-left-right").
    QString versions() const { return m_versions; }
    // Every accessory asked so far, in order, and whether it answered.
    const QList<Tried>& tried() const { return m_tried; }
    // "serial:/dev/ttyUSB0, serial:/dev/ttyUSB1" (or the connection when no location is known).
    QString triedText() const;
    // Whether a question is waiting for its answer.
    bool isAsking() const { return bool(m_asking); }

signals:
    void found();

private:
    void enqueue(const EAAccessoryPtr& accessory);
    void askNext();
    void settle(bool answered, const QString& versions);
    static QString deviceOf(const EAAccessoryPtr& accessory);

    ZelFirmwareUpgradeManager& m_engine;
    bool m_started = false;
    QList<EAAccessoryPtr> m_queue;
    QList<quint64> m_seen;
    EAAccessoryPtr m_asking;
    // Each question's answer and limit belong to it alone.
    quint64 m_question = 0;
    EAAccessoryPtr m_controller;
    QString m_versions;
    QList<Tried> m_tried;
};
