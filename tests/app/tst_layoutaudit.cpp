// The layout audit the screenshot tour runs on every picture: it finds a
// control cut off by its parent, a text or picture too big for its control
// and two siblings on top of each other, and lets the declared layers be.
#include "app/FontWarmUp.h"
#include "app/LayoutAudit.h"
#include "input/ControllerCheck.h"
#include "platform/gamepad/VirtualGameController.h"
#include "platform/runtime/Localization.h"
#include "support/TestSupport.h"
#include "views/ElidedLabel.h"
#include "views/RawRendering.h"
#include "views/RenderedIconEngine.h"
#include "views/RenderedPicture.h"
#include "views/ZelStickCheckView.h"

#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QScrollArea>
#include <QtTest>
#include <QVBoxLayout>

#include <cstring>

namespace {
// Whether a fault of the widget at start says what.
bool hasFault(const QStringList& faults, const QString& start, const QString& what)
{
    return std::any_of(
        faults.begin(), faults.end(), [&](const QString& f) { return f.startsWith(start) && f.contains(what); });
}
}

class TestLayoutAudit : public QObject {
    Q_OBJECT

private slots:
    void aTidyLayoutHasNoFaults()
    {
        QWidget window;
        window.resize(400, 200);
        auto* first = new QPushButton(QStringLiteral("One"), &window);
        first->setGeometry(10, 10, 100, 40);
        auto* second = new QPushButton(QStringLiteral("Two"), &window);
        second->setGeometry(120, 10, 100, 40);
        // Hidden widgets are not seen, wherever they are.
        auto* hidden = new QPushButton(QStringLiteral("Hidden"), &window);
        hidden->setGeometry(300, 150, 300, 300);
        hidden->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(LayoutAudit::check(&window), QStringList());
    }

    // The fonts are read on another thread while the first screen is built:
    // found among the libraries Qt brought, and read only once the
    // application exists; a warm-up the application never came for ends
    // without reading anything.
    void fontsAreReadAheadOfTheFirstScreen()
    {
        {
            FontWarmUp abandoned;
            abandoned.wait();
            QVERIFY(!FontWarmUp::finished());
        }
        // Waiting where there is none returns at once; the first screen
        // waits for the one under way.
        FontWarmUp::awaitCurrent();
        FontWarmUp fonts;
        fonts.applicationStarted();
        FontWarmUp::awaitCurrent();
        QVERIFY(FontWarmUp::finished());
        QVERIFY(!QFontDatabase::families().isEmpty());
        // Waiting again, or ending, returns at once.
        fonts.wait();
    }

    // The first screen's pictures, rendered at build time, come at the size
    // asked for from a rendering at least that large, for any device pixel
    // ratio; a name never rendered gives nothing.
    void renderedPicturesComeAtTheSizeAskedFor()
    {
        const RenderedPicture controller("controller");
        QCOMPARE(controller.naturalSize(), QSize(420, 180));
        const QPixmap small = controller.pixmap(QSize(210, 90), 1.0);
        QCOMPARE(small.size(), QSize(210, 90));
        const QPixmap sharp = controller.pixmap(QSize(350, 150), 2.0);
        QCOMPARE(sharp.size(), QSize(700, 300));
        QCOMPARE(sharp.deviceIndependentSize().toSize(), QSize(350, 150));
        // Beyond the largest rendering: scaled up from it rather than nothing.
        QCOMPARE(controller.pixmap(QSize(2100, 900), 1.0).size(), QSize(2100, 900));
        const QIcon games = RenderedPicture("games").icon();
        QVERIFY(!games.isNull());
        QCOMPARE(games.pixmap(QSize(22, 22), 2.0).size(), QSize(44, 44));

        // Sizes come from the PNG headers, without a decoder: the sizes a decoder reads.
        for (const char* name : { "controller", "games", "keytest", "q3dart" }) {
            const RenderedPicture picture(name);
            for (int width : picture.widths()) {
                QImageReader reader(QStringLiteral(":/rendered/%1-%2.png").arg(QLatin1String(name)).arg(width));
                QCOMPARE(picture.renderingSize(width), reader.size());
            }
        }
        QVERIFY(controller.renderingSize(421).isEmpty());
        QFile png(QStringLiteral(":/rendered/games-22.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray header = png.read(24);
        QCOMPARE(RenderedPicture::pngSize(header), RenderedPicture("games").renderingSize(22));
        QVERIFY(!RenderedPicture::pngSize(header).isEmpty());
        // Cut short, not a PNG, or larger than any picture of ours: no size.
        QVERIFY(RenderedPicture::pngSize(header.left(23)).isEmpty());
        QVERIFY(RenderedPicture::pngSize(QByteArray(header).replace(1, 3, "JPG")).isEmpty());
        QByteArray huge = header;
        huge[16] = char(0x7f);
        QVERIFY(RenderedPicture::pngSize(huge).isEmpty());

        const RenderedPicture missing("no-such-picture");
        QVERIFY(missing.naturalSize().isEmpty());
        QVERIFY(missing.pixmap(QSize(10, 10), 1.0).isNull());
        QVERIFY(missing.icon().isNull());
    }

    // The default window's controller comes from raw pixels in the resources,
    // stored uncompressed and shown from their own memory, and they are the
    // very pixels scaling the PNG rendering gives, so the screen looks as before.
    void theDefaultWindowsControllerNeedsNoDecoding()
    {
        const RenderedPicture controller("controller");
        const QResource raw(QStringLiteral(":/rendered/controller-588.argb"));
        QVERIFY(raw.isValid());
        QCOMPARE(raw.compressionAlgorithm(), QResource::NoCompression);
        const QByteArrayView bytes(reinterpret_cast<const char*>(raw.data()), raw.size());
        QCOMPARE(RawRendering::size(bytes), QSize(588, 252));
        const QImage view = RawRendering::image(bytes);
        if (reinterpret_cast<quintptr>(raw.data() + RawRendering::kHeaderBytes) % 4 == 0)
            QCOMPARE(view.constBits(), raw.data() + RawRendering::kHeaderBytes);

        const QPixmap shown = controller.pixmap(QSize(588, 252), 1.0);
        QCOMPARE(shown.size(), QSize(588, 252));
        const QImage scaled = controller.rendering(630)
                                  .scaled(QSize(588, 252), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                  .toImage()
                                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), scaled);
        QCOMPARE(view, scaled);
        // So do the tiles' icons at that size, with the pixels of their PNG rendering.
        for (const char* name : { "games", "keytest" }) {
            const RenderedPicture icon(name);
            QVERIFY(!icon.exactRendering(22).isNull());
            QImageReader png(QStringLiteral(":/rendered/%1-22.png").arg(QLatin1String(name)));
            QCOMPARE(icon.rendering(22).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                png.read().convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
        // Other widths, and a height the raw pixels do not have, are scaled from a PNG.
        QVERIFY(controller.exactRendering(630).isNull());
        QCOMPARE(controller.pixmap(QSize(588, 250), 1.0).height(), 250);
        QCOMPARE(controller.pixmap(QSize(294, 126), 2.0).size(), QSize(588, 252));
    }

    // Raw pixels survive their own writing and reading; anything that is not
    // a whole rendering gives nothing rather than pixels read past its end.
    void rawRenderingsRefuseWhatIsNotOne()
    {
        QImage image(QSize(3, 2), QImage::Format_ARGB32);
        image.fill(QColor(10, 200, 30, 128));
        image.setPixelColor(2, 1, QColor(255, 0, 0, 255));
        const QByteArray bytes = RawRendering::encode(image);
        QCOMPARE(bytes.size(), RawRendering::kHeaderBytes + 3 * 2 * 4);
        const QImage back = RawRendering::image(bytes);
        QCOMPARE(back.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(back, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));

        // Unaligned pixels are copied, and are the same pixels.
        QByteArray shifted(1, '\0');
        shifted.append(bytes);
        const QByteArrayView unaligned = QByteArrayView(shifted).sliced(1);
        const QImage copied = RawRendering::image(unaligned);
        QCOMPARE(copied, back);
        QVERIFY(copied.constBits() != reinterpret_cast<const uchar*>(unaligned.data()) + RawRendering::kHeaderBytes);

        const auto withField = [&](int offset, quint32 value) {
            QByteArray changed = bytes;
            std::memcpy(changed.data() + offset, &value, sizeof value);
            return changed;
        };
        QByteArray wrongMark = bytes;
        wrongMark[0] = 'X';
        const QList<QByteArray> broken {
            QByteArray(),
            bytes.left(RawRendering::kHeaderBytes - 1),
            bytes.chopped(1),
            bytes + QByteArray(1, '\0'),
            wrongMark,
            withField(4, 0),
            withField(8, 0),
            withField(4, RawRendering::kLargestSide + 1),
            // Lines shorter than their pixels.
            withField(12, 8),
            // A height whose lines would run past the bytes.
            withField(8, 3),
        };
        for (const QByteArray& bad : broken) {
            QVERIFY(RawRendering::image(bad).isNull());
            QVERIFY(RawRendering::size(bad).isEmpty());
        }
    }

    // An icon reads a rendering only when a size first needs it, the
    // narrowest at least that large (scaled down to the size), and reads it once.
    void renderedIconsReadOnlyTheRenderingsAskedFor()
    {
        const RenderedPicture window("q3dart");
        QCOMPARE(window.widths(), (std::vector<int> { 16, 32, 48, 64, 128, 256 }));
        RenderedIconEngine engine(window);
        QCOMPARE(engine.renderingsRead(), 0);
        QVERIFY(!engine.isNull());
        QCOMPARE(engine.availableSizes(QIcon::Normal, QIcon::Off).size(), 6);
        QCOMPARE(engine.availableSizes(QIcon::Normal, QIcon::Off).last(), QSize(256, 256));
        QCOMPARE(engine.renderingsRead(), 0);

        QCOMPARE(engine.pixmap(QSize(40, 40), QIcon::Normal, QIcon::Off).size(), QSize(40, 40));
        QCOMPARE(engine.renderingsRead(), 1);
        QCOMPARE(engine.pixmap(QSize(48, 48), QIcon::Normal, QIcon::Off).size(), QSize(48, 48));
        QCOMPARE(engine.actualSize(QSize(30, 60), QIcon::Normal, QIcon::Off), QSize(30, 30));
        QCOMPARE(engine.renderingsRead(), 2);
        // Never scaled up: beyond the widest, the widest.
        QCOMPARE(engine.actualSize(QSize(400, 400), QIcon::Normal, QIcon::Off), QSize(256, 256));
        QCOMPARE(engine.renderingsRead(), 3);
        QVERIFY(engine.pixmap(QSize(0, 0), QIcon::Normal, QIcon::Off).isNull());

        // A disabled icon is the style's disabled look of the same rendering.
        const QImage normal = engine.pixmap(QSize(48, 48), QIcon::Normal, QIcon::Off).toImage();
        const QImage disabled = engine.pixmap(QSize(48, 48), QIcon::Disabled, QIcon::Off).toImage();
        QCOMPARE(disabled.size(), QSize(48, 48));
        QVERIFY(disabled != normal);
        QCOMPARE(engine.renderingsRead(), 3);

        // Drawn into a painter's rectangle at the device's pixel ratio.
        QImage canvas(QSize(64, 64), QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(2.0);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        window.icon().paint(&painter, QRect(0, 0, 32, 32));
        painter.end();
        QVERIFY(canvas.pixelColor(32, 32).alpha() > 0 || canvas.pixelColor(20, 20).alpha() > 0);

        RenderedIconEngine none(RenderedPicture("no-such-picture"));
        QVERIFY(none.isNull());
        QVERIFY(none.pixmap(QSize(16, 16), QIcon::Normal, QIcon::Off).isNull());
        QVERIFY(none.availableSizes(QIcon::Normal, QIcon::Off).isEmpty());
    }

    void findsClippedOverlappingAndCutOffControls()
    {
        QWidget window;
        window.resize(400, 200);
        auto* panel = new QWidget(&window);
        panel->setObjectName(QStringLiteral("panel"));
        panel->setGeometry(0, 0, 200, 100);
        auto* clipped = new QPushButton(QStringLiteral("Wide"), panel);
        clipped->setObjectName(QStringLiteral("clipped"));
        clipped->setGeometry(150, 10, 100, 30);
        auto* under = new QPushButton(QStringLiteral("A"), panel);
        under->setObjectName(QStringLiteral("under"));
        under->setGeometry(10, 10, 60, 30);
        auto* over = new QLabel(QStringLiteral("B"), panel);
        over->setObjectName(QStringLiteral("over"));
        over->setGeometry(40, 20, 60, 30);
        auto* text = new QLabel(QStringLiteral("A text far too long for its label"), &window);
        text->setObjectName(QStringLiteral("text"));
        text->setGeometry(210, 10, 40, 20);
        QPixmap picture(120, 60);
        picture.fill(Qt::red);
        auto* image = new QLabel(&window);
        image->setObjectName(QStringLiteral("image"));
        image->setPixmap(picture);
        image->setGeometry(210, 120, 60, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList faults = LayoutAudit::check(&window);
        const auto has = [&](const QString& start, const QString& what) { return hasFault(faults, start, what); };
        QVERIFY2(has(QStringLiteral("panel/clipped:"), QStringLiteral("clipped by its parent")),
            qPrintable(faults.join(u'\n')));
        QVERIFY(has(QStringLiteral("panel/under:"), QStringLiteral("overlaps panel/over")));
        QVERIFY(has(QStringLiteral("text:"), QStringLiteral("needs")));
        QVERIFY(has(QStringLiteral("image:"), QStringLiteral("picture needs 120x60")));
        QCOMPARE(faults.size(), 4);

        // Declared layers may lie over their siblings; a free widget may also leave its parent.
        over->setProperty(LayoutAudit::kProperty, LayoutAudit::layer());
        clipped->setProperty(LayoutAudit::kProperty, LayoutAudit::free());
        QCOMPARE(LayoutAudit::check(&window).size(), 2);
    }

    // The plan, the steps and the stick check's instruction are read whole,
    // whatever text the screens give them: elided, cut by a scroll area or
    // too long for their room, they fail; other labels in a scroll area are
    // their area's business.
    void textsReadWholeFailWhenElidedOrCut()
    {
        QWidget window;
        window.resize(600, 300);
        const QString longText = QStringLiteral("A step of the run that needs far more room than it is given here");

        auto* plan = new ElidedLabel(&window);
        plan->setObjectName(QStringLiteral("planLabel"));
        plan->setGeometry(10, 10, 120, 24);
        plan->setFullText(longText);

        // Elided by the screen itself, its whole text in the tooltip.
        auto* steps = new QLabel(QStringLiteral("A step of the run\u2026"), &window);
        steps->setObjectName(QStringLiteral("stepsLabel"));
        steps->setToolTip(longText);
        steps->setGeometry(10, 40, 400, 24);

        // Inside a scroll area, scrolled half out of sight.
        auto* area = new QScrollArea(&window);
        area->setGeometry(10, 80, 300, 60);
        auto* inner = new QWidget;
        inner->resize(280, 200);
        auto* instruction = new QLabel(QStringLiteral("Turn the stick"), inner);
        instruction->setObjectName(QStringLiteral("instructionLabel"));
        instruction->setGeometry(0, 40, 200, 40);
        auto* other = new QLabel(QStringLiteral("Not read whole"), inner);
        other->setGeometry(0, 150, 200, 40);
        area->setWidget(inner);

        // Marked whole, in a container: its rows are read whole, wrapped too short.
        auto* list = new QWidget(&window);
        list->setProperty(LayoutAudit::kProperty, LayoutAudit::whole());
        list->setGeometry(320, 80, 200, 200);
        auto* row = new QLabel(longText + QLatin1Char(' ') + longText, list);
        row->setObjectName(QStringLiteral("row"));
        row->setWordWrap(true);
        row->setGeometry(0, 0, 120, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList faults = LayoutAudit::check(&window);
        const auto has = [&](const QString& start, const QString& what) { return hasFault(faults, start, what); };
        QVERIFY2(has(QStringLiteral("planLabel:"), QStringLiteral("text elided")), qPrintable(faults.join(u'\n')));
        QVERIFY(has(QStringLiteral("stepsLabel:"), QStringLiteral("text elided")));
        QVERIFY(has(
            QStringLiteral("QScrollArea/qt_scrollarea_viewport/QWidget/instructionLabel:"), QStringLiteral("cut off")));
        QVERIFY(has(QStringLiteral("QWidget/row:"), QStringLiteral("text needs")));
        QVERIFY(!has(QStringLiteral("QScrollArea/qt_scrollarea_viewport/QWidget/QLabel"), QString()));

        // Given room and in sight, they pass; the names are those the screens keep.
        plan->resize(600 - 20, 24);
        plan->setFullText(QStringLiteral("Boot loader"));
        steps->setText(QStringLiteral("A step of the run"));
        steps->setToolTip(QString());
        instruction->move(0, 0);
        row->resize(200, row->heightForWidth(200));
        QCOMPARE(LayoutAudit::check(&window), QStringList());
        QCOMPARE(LayoutAudit::wholeTextNames(),
            (QStringList {
                QStringLiteral("planLabel"), QStringLiteral("stepsLabel"), QStringLiteral("instructionLabel") }));
    }

    // The stick check's instruction, with the keyboard's keys, wraps to fit
    // the smallest window in every language; squeezed below its lines it fails.
    void theStickChecksInstructionIsReadWhole()
    {
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        ControllerCheck check(pad.controller(), {}, [] { return qint64(0); });
        check.start();
        QWidget window;
        window.resize(720, 405);
        auto* layout = new QVBoxLayout(&window);
        auto* view = new ZelStickCheckView;
        layout->addWidget(view);
        view->setCheck(&check);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* language : { "en", "zh_CN", "ja" }) {
            Localization::shared().setLanguage(QString::fromLatin1(language));
            view->setKeyboardHints(true);
            QVERIFY(view->instructionLabel->text().contains(localized("CheckKeysRest")));
            QVERIFY(QTest::qWaitFor([&] { return LayoutAudit::check(&window).isEmpty(); }));
        }
        Localization::shared().setLanguage(QStringLiteral("en"));

        // A panel too low for the instruction's lines cuts it.
        view->setFixedHeight(view->instructionLabel->fontMetrics().height());
        QVERIFY(QTest::qWaitFor([&] { return view->height() == view->maximumHeight(); }));
        const QStringList faults = LayoutAudit::check(&window);
        QVERIFY2(hasFault(faults, QStringLiteral("ZelStickCheckView/instructionLabel:"), QString()),
            qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TestLayoutAudit)
#include "tst_layoutaudit.moc"
