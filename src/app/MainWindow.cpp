#include "app/MainWindow.h"

#include "app/ViewController.h"
#include "platform/runtime/Localization.h"
#include "upgrade/UpgradeRun.h"
#include "views/RenderedPicture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace {
bool isArchive(const QUrl& url)
{
    return url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_root(new ViewController(this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Q3 Dart"));
    setWindowIcon(RenderedPicture("q3dart").icon());
    setCentralWidget(m_root);
    // Landscape, like the phone held in the controller; any larger size works too.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kDefaultWidth, kDefaultHeight);
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const UpgradeRun* run = UpgradeRun::current();
    if (m_quitConfirmed || !run || !run->isRunning()) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (findChild<QMessageBox*>(QStringLiteral("quitDuringUpgradeAlert")))
        return;
    auto* alert = new QMessageBox(this);
    alert->setObjectName(QStringLiteral("quitDuringUpgradeAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setIcon(QMessageBox::Warning);
    alert->setText(localized("QuitDuringUpgradePrompt"));
    QPushButton* quit = alert->addButton(localized("QuitAnyway"), QMessageBox::DestructiveRole);
    QPushButton* stay = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    quit->setObjectName(QStringLiteral("confirmButton"));
    stay->setObjectName(QStringLiteral("cancelButton"));
    alert->setDefaultButton(stay);
    alert->setEscapeButton(stay);
    connect(quit, &QPushButton::clicked, this, [this] {
        m_quitConfirmed = true;
        close();
    });
    alert->open();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), isArchive))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QList<QUrl> archives;
    for (const QUrl& url : event->mimeData()->urls())
        if (isArchive(url))
            archives.append(url);
    if (!archives.isEmpty() && filesDropped)
        filesDropped(archives);
    event->acceptProposedAction();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && firstPainted && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        // After everything the first paint set off (the rest of the window's
        // paint, its flush): work deferred to here never delays the first screen.
        QTimer::singleShot(
            0, this, [this, work = std::exchange(firstPainted, nullptr)] { QTimer::singleShot(0, this, work); });
    }
    // Keys reach the handler whichever widget of this window has the focus.
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && keyHandler && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && keyHandler(key->key(), press))
            return true;
    }
    if (press && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Escape goes back; Enter presses the focused button, as Space does.
        if (key->key() == Qt::Key_Escape && m_root->escapeAction())
            return true;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && watched == QApplication::focusWidget()) {
            if (auto* button = qobject_cast<QAbstractButton*>(watched); button && button->isEnabled()) {
                button->click();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
