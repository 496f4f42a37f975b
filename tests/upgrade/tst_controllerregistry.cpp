// The registry of attached controllers: which accessories are controllers,
// that it is up to date before anyone hears of an arrival or departure, and
// that a controller back from a restart is recognised by its address.
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/EAAccessoryManager.h"
#include "upgrade/ControllerRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString kDeclared = QStringLiteral("com.example.controller");

DeviceInformation answerWithAddress(uint8_t last)
{
    DeviceInformation record;
    const uint8_t address[6] = { 0x10, 0x20, 0x30, 0x40, 0x50, last };
    std::copy(std::begin(address), std::end(address), record.local_bt_addr);
    record.software_ver[1] = 2;
    return record;
}

} // namespace

class TestControllerRegistry : public QObject {
    Q_OBJECT

    EAAccessoryManager& m_accessories = EAAccessoryManager::sharedAccessoryManager();

    EAAccessoryPtr attach(const QStringList& protocols, const QString& location = QString())
    {
        EAAccessoryPtr accessory = EAAccessory::create(protocols, nullptr, location);
        m_accessories.attachAccessory(accessory);
        return accessory;
    }

private slots:
    void cleanup()
    {
        for (const EAAccessoryPtr& accessory : m_accessories.connectedAccessories())
            m_accessories.detachAccessory(accessory);
    }

    void controllersAreTheAccessoriesThatOfferADeclaredProtocol()
    {
        const EAAccessoryPtr before = attach({ kDeclared }, QStringLiteral("tcp:127.0.0.1:1"));
        ControllerRegistry registry(m_accessories, { kDeclared });
        QCOMPARE(registry.controllers().size(), 1);
        QCOMPARE(registry.controllers().first()->accessory(), before);

        attach({ QStringLiteral("com.example.other") });
        const EAAccessoryPtr second
            = attach({ QStringLiteral("com.example.other"), kDeclared }, QStringLiteral("sim:1"));
        QCOMPARE(registry.controllers().size(), 2);
        QCOMPARE(registry.controllers().last()->accessory(), second);
        QCOMPARE(registry.controllersAt(QStringLiteral("sim:1")).size(), 1);
        QCOMPARE(registry.controllersAt(QStringLiteral("sim:2")).size(), 0);
        QCOMPARE(registry.controllersAt(QString()).size(), 2);
        QCOMPARE(registry.controller(second->connectionID())->location(), QStringLiteral("sim:1"));
    }

    // Whoever hears the notification of an arrival or a departure finds the
    // registry up to date already.
    void theRegistryChangesBeforeTheNotifications()
    {
        ControllerRegistry registry(m_accessories, { kDeclared });
        NotificationCenter& center = NotificationCenter::defaultCenter();
        int seenOnArrival = -1, seenOnDeparture = -1;
        center.addObserver(this, EAAccessoryDidConnectNotification,
            [&](const Notification&) { seenOnArrival = int(registry.controllers().size()); });
        center.addObserver(this, EAAccessoryDidDisconnectNotification,
            [&](const Notification&) { seenOnDeparture = int(registry.controllers().size()); });
        QSignalSpy left(&registry, &ControllerRegistry::controllerLeft);
        const EAAccessoryPtr accessory = attach({ kDeclared });
        m_accessories.detachAccessory(accessory);
        center.removeObserver(this);
        QCOMPARE(seenOnArrival, 1);
        QCOMPARE(seenOnDeparture, 0);
        QCOMPARE(left.size(), 1);
        QVERIFY(!registry.controller(accessory->connectionID()));
    }

    void aControllerBackFromARestartIsRecognisedByItsAddress()
    {
        ControllerRegistry registry(m_accessories, { kDeclared });
        QSignalSpy identified(&registry, &ControllerRegistry::controllerIdentified);
        const EAAccessoryPtr first = attach({ kDeclared });
        QVERIFY(!registry.identifiedOn(first->connectionID()));
        registry.recordAnswer(first, answerWithAddress(0x01));
        QCOMPARE(identified.size(), 1);
        QCOMPARE(identified.last().at(1).toULongLong(), 0ULL);
        QCOMPARE(registry.controller(first->connectionID())->address(), QStringLiteral("102030405001"));

        // While it restarts, who it was stays known by the attachment it left.
        m_accessories.detachAccessory(first);
        QCOMPARE(registry.identifiedOn(first->connectionID())->address(), QStringLiteral("102030405001"));

        // Another controller answering is not taken for it.
        const EAAccessoryPtr stranger = attach({ kDeclared });
        registry.recordAnswer(stranger, answerWithAddress(0x02));
        QCOMPARE(identified.last().at(1).toULongLong(), 0ULL);

        const EAAccessoryPtr back = attach({ kDeclared });
        registry.recordAnswer(back, answerWithAddress(0x01));
        QCOMPARE(identified.last().at(1).toULongLong(), first->connectionID());
        QVERIFY(!registry.identifiedOn(first->connectionID()));
        QCOMPARE(
            registry.identifiedOn(back->connectionID())->deviceInformation().softwareVersion(), QStringLiteral("2.0"));
    }

    // An answer taken after its controller left identifies nobody.
    void anAnswerForAControllerThatLeftIsDropped()
    {
        ControllerRegistry registry(m_accessories, { kDeclared });
        QSignalSpy identified(&registry, &ControllerRegistry::controllerIdentified);
        const EAAccessoryPtr accessory = attach({ kDeclared });
        m_accessories.detachAccessory(accessory);
        registry.recordAnswer(accessory, answerWithAddress(0x03));
        QCOMPARE(identified.size(), 0);
        QVERIFY(!registry.identifiedOn(accessory->connectionID()));
    }
};

QTEST_GUILESS_MAIN(TestControllerRegistry)
#include "tst_controllerregistry.moc"
