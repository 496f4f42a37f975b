// The firmware list overlay as a user meets it, offscreen: importing real
// release archives through its file dialog, the online list when the server
// cannot be reached and again when it can, the rows' dates and the mark on
// the release the simulated controller runs, and its layout in the three
// languages at the smallest window.
#include "app/LayoutAudit.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "support/AppFixture.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelFirmwareListView.h"

#include <QAbstractButton>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace testsupport;

namespace {

const QString kOldest = QStringLiteral("1.0-2.2-1.4");
const QString kMiddle = QStringLiteral("1.0-2.4-1.6");
const QString kNewest = QStringLiteral("1.1-2.5-1.8");

ZelFirmwareDataTool& catalogue()
{
    return ZelFirmwareDataTool::sharedInstance();
}

QString archive(const QString& version)
{
    return QDir(DemoReleases::folder()).filePath(version + QStringLiteral(".zip"));
}

// Presses the dialog's Open button, as a user does.
void clickOpen(QFileDialog* dialog)
{
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(buttons && buttons->button(QDialogButtonBox::Open));
    buttons->button(QDialogButtonBox::Open)->click();
}

QFileDialog* openDialog(const QWidget* list)
{
    auto* dialog = list->findChild<QFileDialog*>(QStringLiteral("importDialog"));
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

QStringList versionsShown(const QListWidget* table)
{
    QStringList out;
    for (int i = 0; i < table->count(); ++i)
        out << table->item(i)->text();
    return out;
}

} // namespace

class TestFirmwareListView : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<QWidget> m_window;
    ZelFirmwareListView* m_list = nullptr;

    // The overlay over a window of the smallest size, as the upgrade screen shows it.
    void showList(quint64 type)
    {
        m_list->type = type;
        m_list->setHidden(false);
    }

private slots:
    void initTestCase()
    {
        m_app = std::make_unique<AppFixture>();
        QVERIFY(m_app->serveDemoReleases());
        QVERIFY(m_app->attachSimulatedController().configureSession());
        ZelFirmwareUpgradeManager::sharedInstance();
    }

    void cleanupTestCase() { m_app.reset(); }

    void init()
    {
        QVERIFY(!m_app->useNewDocumentsFolder().isEmpty());
        Localization::shared().setPreferredLanguages({ QStringLiteral("en") });
        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        catalogue().firmwaresDate = QDateTime();
        m_window = std::make_unique<QWidget>();
        m_window->resize(720, 405);
        m_list = new ZelFirmwareListView(catalogue(), m_window.get());
        m_list->setGeometry(m_window->rect());
        m_list->setHidden(true);
        m_window->show();
        m_app->toasts().clear();
    }

    void cleanup()
    {
        m_window.reset();
        catalogue().firmwaresDate = QDateTime();
    }

    // An empty local list says how to add a release and offers the import;
    // the dialog takes several archives at once, and each one's toast names
    // what became of it. The list shows the releases when the imports end.
    void theEmptyLocalListImportsArchivesThroughAFileDialog()
    {
        showList(ZelFirmwareListTypeLocal);
        QCOMPARE(m_list->tableView->count(), 0);
        QVERIFY(m_list->emptyContentPropmtLabel->isVisible());
        QCOMPARE(m_list->emptyContentPropmtLabel->text(), localized("EmptyLocalFirmware"));
        QVERIFY(!localized("EmptyLocalFirmware").isEmpty());
        QVERIFY(m_list->importButton->isVisible());
        QVERIFY(m_list->retryButton->isHidden());
        QVERIFY(!m_list->tableView->verticalScrollBar()->isEnabled());

        QTest::mouseClick(m_list->importButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return openDialog(m_list) != nullptr; }));
        QFileDialog* dialog = openDialog(m_list);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
        // The downloads folder, or the home folder where there is none; never a name in the file box.
        QVERIFY(dialog->directory().exists());
        const QString downloadsFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QCOMPARE(dialog->directory().absolutePath(),
            QFileInfo(downloadsFolder).isDir() ? QDir(downloadsFolder).absolutePath() : QDir::homePath());
        QVERIFY(dialog->nameFilters().first().endsWith(QStringLiteral("(*.zip)")));
        // A release, and a file whose name holds no version, chosen together
        // as a user does: both names typed into the dialog's file name box.
        QTemporaryDir downloads;
        QVERIFY(QFile::copy(archive(kMiddle), downloads.filePath(kMiddle + QStringLiteral(".zip"))));
        writeTestFile(downloads.path(), QStringLiteral("firmware.zip"), "PK");
        dialog->setDirectory(downloads.path());
        auto* names = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(names);
        names->setText(QStringLiteral("\"%1.zip\" \"firmware.zip\"").arg(kMiddle));
        clickOpen(dialog);
        QVERIFY(waitUntil([&] { return openDialog(m_list) == nullptr; }));

        QVERIFY(!m_list->importButton->isEnabled()); // until the imports end
        QVERIFY(waitUntil([&] { return m_list->importButton->isEnabled(); }));
        QCOMPARE(versionsShown(m_list->tableView), QStringList { kMiddle });
        QVERIFY(m_list->emptyContentPropmtLabel->isHidden());
        const QStringList toasts = m_app->toasts().texts();
        QCOMPARE(toasts.size(), 2); // the progress, then one line per archive
        QCOMPARE(toasts.last().split(QLatin1Char('\n')),
            QStringList({ kMiddle + QStringLiteral(".zip") + localized(":") + localized("ReleaseImported").arg(kMiddle),
                QStringLiteral("firmware.zip") + localized(":")
                    + localized("ArchiveNameNoVersion").arg(QStringLiteral("firmware.zip")) }));

        // One archive: its own toast names the release. The dialog opens
        // where the last archives were.
        m_app->toasts().clear();
        QTest::mouseClick(m_list->importButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return openDialog(m_list) != nullptr; }));
        dialog = openDialog(m_list);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(downloads.path()).canonicalPath());
        dialog->setDirectory(DemoReleases::folder());
        dialog->selectFile(archive(kNewest));
        clickOpen(dialog);
        QVERIFY(waitUntil([&] { return m_list->tableView->count() == 2; }));
        QCOMPARE(m_app->toasts().texts().last(), localized("ReleaseImported").arg(kNewest));
        QVERIFY(localized("ReleaseImported").arg(kNewest).contains(kNewest));
    }

    // Without the server the online list says why, and offers to ask again;
    // once the server answers, the rows replace the reason.
    void anUnreachableServerIsNamedWithARetry()
    {
        const quint16 port = unusedPort();
        QVERIFY(port != 0);
        ZelFirmwareDataTool::setServerOverride(QStringLiteral("http://127.0.0.1:%1").arg(port));
        showList(ZelFirmwareListTypeOnline);
        QVERIFY(!m_list->importButton->isVisible());
        QCOMPARE(m_list->emptyContentPropmtLabel->text(), localized("ReleaseListLoading"));
        QVERIFY(waitUntil([&] { return m_list->retryButton->isVisible(); }));
        const QString reason = m_list->emptyContentPropmtLabel->text();
        QVERIFY2(reason.startsWith(localized("ServerUnreachableReason").section(QStringLiteral("%1"), 0, 0))
                && reason.size() > localized("ServerUnreachableReason").size(),
            qPrintable(reason));
        QCOMPARE(m_list->tableView->count(), 0);

        // Asked again while it is still gone: the same, and the button again.
        QTest::mouseClick(m_list->retryButton, Qt::LeftButton);
        QVERIFY(!m_list->retryButton->isEnabled());
        QVERIFY(m_list->retryButton->isVisible()); // the focus stays on it
        QVERIFY(waitUntil([&] { return m_list->retryButton->isEnabled(); }));
        QVERIFY(m_list->retryButton->isVisible());

        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        QTest::mouseClick(m_list->retryButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return m_list->tableView->count() == 3; }));
        QVERIFY(m_list->retryButton->isHidden());
        QVERIFY(m_list->emptyContentPropmtLabel->isHidden());
        QVERIFY(m_list->tableView->isVisible());
    }

    // An empty answer is no failure: no reason, nothing to retry.
    void anEmptyOnlineListOffersNoRetry()
    {
        TestHttpServer server;
        server.body = "{\"data\":[]}";
        ZelFirmwareDataTool::setServerOverride(server.baseUrl());
        showList(ZelFirmwareListTypeOnline);
        QVERIFY(waitUntil([&] { return m_list->emptyContentPropmtLabel->text() == localized("EmptyFirmware"); }));
        QCOMPARE(server.targets.size(), 1);
        QVERIFY(m_list->retryButton->isHidden());
    }

    // Each row: its version, its date and signature, and the mark on the
    // release the controller runs, in both lists.
    void rowsShowTheirDateAndTheInstalledRelease()
    {
        QVERIFY(m_app->sim().controller().setVersions(kMiddle));
        QCOMPARE(readControllerVersions(), kMiddle);
        QCOMPARE(ZelFirmwareListView::installedVersions(), kMiddle);
        QVERIFY(ZelDataTool::importArchive(archive(kMiddle)));
        QVERIFY(ZelDataTool::importArchive(archive(kOldest)));

        showList(ZelFirmwareListTypeLocal);
        QCOMPARE(versionsShown(m_list->tableView), (QStringList { kMiddle, kOldest }));
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(m_list->tableView->item(0)->data(ZelFirmwareListView::DetailRole).toString(),
            localized("ReleaseImportedOn").arg(today) + QStringLiteral(" \u00b7 ") + localized("ReleaseMarkLocalFile"));
        QVERIFY(m_list->tableView->item(0)->data(ZelFirmwareListView::InstalledRole).toBool());
        QVERIFY(!m_list->tableView->item(1)->data(ZelFirmwareListView::InstalledRole).toBool());
        QVERIFY(m_list->tableView->item(0)
                    ->data(Qt::AccessibleTextRole)
                    .toString()
                    .endsWith(localized("ReleaseMarkInstalled")));

        // The demo releases' dates, as the server lists them.
        showList(ZelFirmwareListTypeOnline);
        QVERIFY(waitUntil([&] { return m_list->tableView->count() == 3; }));
        QCOMPARE(versionsShown(m_list->tableView), (QStringList { kNewest, kMiddle, kOldest }));
        const QStringList dates { QStringLiteral("2026-02-14"), QStringLiteral("2025-09-22"),
            QStringLiteral("2025-03-10") };
        for (int row = 0; row < 3; ++row) {
            const QListWidgetItem* item = m_list->tableView->item(row);
            QVERIFY(item->data(ZelFirmwareListView::DetailRole)
                        .toString()
                        .startsWith(localized("ReleaseDatedOn").arg(dates[row])));
            QCOMPARE(item->data(ZelFirmwareListView::InstalledRole).toBool(), row == 1);
            QCOMPARE(m_list->tableView->visualItemRect(item).height(), ZelFirmwareListView::kRowHeight);
        }

        // Another controller, or none identified: nothing is marked.
        m_app->sim().controller().unplug(-1);
        QVERIFY(waitUntil([] { return ZelFirmwareListView::installedVersions().isEmpty(); }));
        m_list->setHidden(false);
        QVERIFY(waitUntil([&] { return m_list->tableView->count() == 3; }));
        for (int row = 0; row < 3; ++row)
            QVERIFY(!m_list->tableView->item(row)->data(ZelFirmwareListView::InstalledRole).toBool());
        m_app->sim().controller().plugIn();
        QVERIFY(m_app->sim().waitForSession());
    }

    // The card at the smallest window, in every language: the empty local
    // list with its import, the unreachable server's reason with its retry,
    // and rows; nothing cut off, nothing on top of anything.
    void theCardIsWholeAtTheSmallestSizeInEveryLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("zh") << QStringLiteral("zh-Hans");
        QTest::newRow("ja") << QStringLiteral("ja-JP");
    }
    void theCardIsWholeAtTheSmallestSizeInEveryLanguage()
    {
        QFETCH(QString, language);
        Localization::shared().setPreferredLanguages({ language });
        m_window = std::make_unique<QWidget>();
        m_window->resize(720, 405);
        m_list = new ZelFirmwareListView(catalogue(), m_window.get());
        m_list->setGeometry(m_window->rect());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

        showList(ZelFirmwareListTypeLocal);
        QVERIFY(m_list->importButton->isVisible());
        QCOMPARE(LayoutAudit::check(m_window.get()), QStringList());

        ZelFirmwareDataTool::setServerOverride(QStringLiteral("http://127.0.0.1:%1").arg(unusedPort()));
        showList(ZelFirmwareListTypeOnline);
        QVERIFY(waitUntil([&] { return m_list->retryButton->isVisible(); }));
        QCOMPARE(LayoutAudit::check(m_window.get()), QStringList());

        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        m_list->retryAction();
        QVERIFY(waitUntil([&] { return m_list->tableView->count() == 3; }));
        QCOMPARE(LayoutAudit::check(m_window.get()), QStringList());
    }
};

QTEST_MAIN(TestFirmwareListView)
#include "tst_firmwarelistview.moc"
