// The mapping editor walked through on a virtual joystick without mapping:
// what it takes for each element from the inputs moved, skipping and going
// back, and the line it makes.
#include "input/MappingEditor.h"
#include "platform/gamepad/GameControllerMapping.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The joystick's inputs in its raw list: 8 buttons b0-b7, 6 axes a0-a5 (at
// 8-13), a hat h0 (at 14). Its triggers (a4, a5) rest at one end of their axis.
constexpr size_t kAxis = 8;
constexpr size_t kHat = 14;

struct Joystick {
    std::unique_ptr<VirtualGameController> pad
        = VirtualGameController::joystick(testsupport::controllerService(), QStringLiteral("Walk Pad"), 8, 6, 1);
    Joystick()
    {
        pad->setRawInput(kAxis + 4, -32768);
        pad->setRawInput(kAxis + 5, -32768);
        pad->plugIn();
    }
    // Moved to a value and let go again, back to where it rests.
    void move(size_t raw, int value)
    {
        const int rest = pad->controller()->rawInputs()[raw].value;
        pad->setRawInput(raw, value);
        pad->setRawInput(raw, rest);
    }
    void button(int b) { move(size_t(b), 1); }
    void axis(int a, int value) { move(kAxis + size_t(a), value); }
    void hat(int direction) { move(kHat, direction); }
};

} // namespace

class TestMappingEditor : public QObject {
    Q_OBJECT

private slots:
    void everyElementIsAskedForInTurn()
    {
        Joystick stick;
        MappingEditor editor(stick.pad->controller());
        QSignalSpy changed(&editor, &MappingEditor::changed);
        QCOMPARE(editor.count(), 21);
        QCOMPARE(editor.prompt(), QStringLiteral("Press A"));

        // Held, the input is taken, and the editor waits for it to be let go.
        stick.pad->setRawInput(0, 1);
        QCOMPARE(editor.inputFor(0), QStringLiteral("b0"));
        QVERIFY(editor.isWaitingForRelease());
        QCOMPARE(editor.prompt(), QStringLiteral("Taken: let go"));
        QCOMPARE(editor.index(), 0);
        stick.pad->setRawInput(0, 0);
        QCOMPARE(editor.index(), 1);
        QCOMPARE(editor.prompt(), QStringLiteral("Press B"));

        // An input taken already is not taken twice: b0 again does nothing.
        stick.button(0);
        QCOMPARE(editor.index(), 1);
        stick.button(1); // B
        stick.button(2); // X
        stick.button(3); // Y
        stick.button(4); // L1
        stick.button(5); // R1
        QCOMPARE(editor.prompt(), QStringLiteral("Press L2"));
        // A trigger resting at one end travels its whole axis; a small move is not a press.
        stick.axis(4, -20000);
        QCOMPARE(editor.index(), 6);
        stick.axis(4, 32767);
        stick.axis(5, 32767); // R2
        QCOMPARE(editor.prompt(), QStringLiteral("Press pad up"));
        stick.hat(1);
        stick.hat(4);
        // The pad's left and right on two halves of an axis.
        stick.axis(3, -32767);
        stick.axis(3, 32767);
        QCOMPARE(editor.prompt(), QStringLiteral("Push the left stick to the right"));
        // A button is no stick.
        stick.button(6);
        QCOMPARE(editor.index(), 12);
        // An axis used whole or by halves already is not taken again.
        stick.axis(3, 32767);
        stick.axis(4, 32767);
        QCOMPARE(editor.index(), 12);
        stick.axis(0, 32767); // right: as SDL counts it
        QCOMPARE(editor.prompt(), QStringLiteral("Push the left stick up"));
        stick.axis(1, -32767); // up: SDL's y grows downward
        stick.axis(2, -32767); // the right stick's x reads left when pushed right: inverted
        QCOMPARE(editor.prompt(), QStringLiteral("Push the right stick up"));

        // Back: the element before is asked again, without its input.
        editor.back();
        QCOMPARE(editor.prompt(), QStringLiteral("Push the right stick to the right"));
        QVERIFY(editor.inputFor(14).isEmpty());
        stick.axis(2, 32767);
        editor.skip(); // the right stick's y: none
        stick.button(6); // L3
        stick.button(7); // R3
        editor.skip(); // Options
        editor.skip(); // Menu
        QVERIFY(!editor.isDone());
        editor.skip(); // Home
        QVERIFY(editor.isDone());
        QCOMPARE(editor.prompt(),
            QStringLiteral("Every element has been asked for: save the mapping, or go back to change one."));
        QVERIFY(changed.count() > 20);

        const GameControllerMapping mapping = editor.mapping();
        QCOMPARE(mapping.line(),
            QByteArray(GameControllerMapping::mappingGuid(stick.pad->controller()->identity().guid).toLatin1()
                + ",Walk Pad,a:b0,b:b1,x:b2,y:b3,leftshoulder:b4,rightshoulder:b5,lefttrigger:a4,righttrigger:a5,"
                  "dpup:h0.1,dpdown:h0.4,dpleft:-a3,dpright:+a3,leftx:a0,lefty:a1,rightx:a2,leftstick:b6,"
                  "rightstick:b7,"));
        QCOMPARE(editor.boundCount(), 17);

        // Past the end, skipping does nothing; back asks for the last again.
        editor.skip();
        QCOMPARE(editor.index(), editor.count());
        editor.back();
        QCOMPARE(editor.index(), 20);
    }

    void aTriggerOrButtonOnHalfAnAxisAndAnInvertedOne()
    {
        Joystick stick;
        stick.pad->setRawInput(kAxis + 5, 32767); // resting at the top of its axis
        MappingEditor editor(stick.pad->controller());
        for (int b = 0; b < 6; ++b)
            stick.button(b);
        stick.axis(2, 30000); // from the middle, one way: half an axis
        stick.axis(5, -32768); // from the top down: the whole axis, upside down
        QCOMPARE(editor.inputFor(6), QStringLiteral("+a2"));
        QCOMPARE(editor.inputFor(7), QStringLiteral("a5~"));
        // Back while an input is held: it is let go of and asked for again.
        stick.pad->setRawInput(kHat, 8);
        QCOMPARE(editor.inputFor(8), QStringLiteral("h0.8"));
        editor.back();
        QCOMPARE(editor.index(), 8);
        QVERIFY(editor.inputFor(8).isEmpty() && !editor.isWaitingForRelease());
        // A diagonal of the hat is no direction.
        stick.pad->setRawInput(kHat, 9);
        QVERIFY(editor.inputFor(8).isEmpty());
    }

    void anUnpluggedControllerEndsIt()
    {
        Joystick stick;
        MappingEditor editor(stick.pad->controller());
        QSignalSpy left(&editor, &MappingEditor::controllerLeft);
        stick.pad->unplug();
        QCOMPARE(left.count(), 1);
        QVERIFY(editor.mapping().bindings.empty());
    }

    void theLineIsInSdlsFormat()
    {
        // The GUID without the name's checksum; a name with SDL's separator
        // in it kept to one field.
        GameControllerMapping mapping;
        mapping.guid = QStringLiteral("0300abcd") + QString(24, QLatin1Char('1'));
        mapping.name = QStringLiteral("Pad, Deluxe\nEdition");
        mapping.bindings = { { QStringLiteral("a"), QStringLiteral("b2") } };
        mapping.platform = QStringLiteral("Linux");
        QCOMPARE(
            mapping.line(), QByteArray("03000000111111111111111111111111,Pad Deluxe Edition,a:b2,platform:Linux,"));
    }
};

QTEST_GUILESS_MAIN(TestMappingEditor)
#include "tst_mappingeditor.moc"
