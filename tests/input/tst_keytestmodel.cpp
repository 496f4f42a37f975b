// The key test's model fed by a virtual game controller through the
// game-controller manager, without a window: which keys are held and where
// the sticks stand.
#include "input/KestGameControllerManager.h"
#include "input/KeyTestModel.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

using Button = VirtualGameController::Button;
using Key = KeyTestModel::Key;
using Stick = VirtualGameController::Stick;
using Side = KeyTestModel::Stick;

} // namespace

class TestKeyTestModel : public QObject {
    Q_OBJECT

    KestGameControllerManager* m_manager = nullptr;
    std::unique_ptr<VirtualGameController> m_pad;

private slots:
    void initTestCase() { m_manager = &KestGameControllerManager::sharedInstance(); }

    void init() { m_pad = testsupport::plugInCentredPad(); }

    void cleanup() { m_pad.reset(); }

    void keysAreHeldUntilLetGoAndEveryReportIsTold()
    {
        KeyTestModel model(*m_manager);
        QSignalSpy reports(&model, &KeyTestModel::keyReported);
        QVERIFY(m_pad->press(Button::A));
        QVERIFY(model.isPressed(Key::A) && !model.isPressed(Key::B));
        QVERIFY(m_pad->press(Button::Up));
        QVERIFY(model.isPressed(Key::Up));
        QVERIFY(m_pad->release(Button::A));
        QVERIFY(!model.isPressed(Key::A) && model.isPressed(Key::Up));
        QCOMPARE(reports.last().at(0).value<Key>(), Key::A);
        QCOMPARE(reports.last().at(1).toBool(), false);

        // A pressure-sensitive key reports each change of its level while held: each is told.
        QVERIFY(m_pad->setButton(Button::B, 0.6f));
        const qsizetype first = reports.size();
        QVERIFY(m_pad->setButton(Button::B, 0.8f));
        QVERIFY(reports.size() > first);
        QCOMPARE(reports.last().at(0).value<Key>(), Key::B);
        QVERIFY(model.isPressed(Key::B));

        // Every key the controller has is held and let go on its own.
        QVERIFY(m_pad->release(Button::B));
        QVERIFY(m_pad->release(Button::Up));
        int tested = 0;
        for (int k = 0; k < KestGameControllerManager::kKeyCount; ++k) {
            if (!m_pad->press(Button(k)))
                continue; // a key the controller has no element for
            ++tested;
            for (int other = 0; other < KestGameControllerManager::kKeyCount; ++other)
                QVERIFY2(model.isPressed(Key(other)) == (other == k),
                    qPrintable(QStringLiteral("%1 with %2").arg(k).arg(other)));
            QVERIFY(m_pad->release(Button(k)));
            QVERIFY(!model.isPressed(Key(k)));
        }
        QVERIFY2(tested >= 17, qPrintable(QString::number(tested)));
    }

    void sticksAreTheSumOfTheirMovements()
    {
        KeyTestModel model(*m_manager);
        QSignalSpy moves(&model, &KeyTestModel::stickMoved);
        QVERIFY(m_pad->moveStick(Stick::Left, 0.5f, -0.25f));
        QCOMPARE(model.stickPosition(Side::Left), QPointF(0.5, -0.25));
        QCOMPARE(model.stickPosition(Side::Right), QPointF());
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.at(0).at(0).value<Side>(), Side::Left);
        // Steps far smaller than a pixel of any ring add up exactly.
        for (int i = 1; i <= 100; ++i)
            m_pad->moveStick(Stick::Right, 0.001f * float(i), 0.0f);
        QVERIFY(std::abs(model.stickPosition(Side::Right).x() - 0.1) < 1e-6);
        m_pad->moveStick(Stick::Right, 0.0f, 0.0f);
        QVERIFY(std::abs(model.stickPosition(Side::Right).x()) < 1e-6);
    }

    // The manager's slots outlive a model: once it is gone they do nothing.
    void slotsDoNothingOnceTheModelIsGone()
    {
        auto model = std::make_unique<KeyTestModel>(*m_manager);
        model.reset();
        QVERIFY(m_pad->press(Button::A));
        QVERIFY(m_pad->moveStick(Stick::Left, 0.5f, 0.5f));
    }
};

QTEST_GUILESS_MAIN(TestKeyTestModel)
#include "tst_keytestmodel.moc"
