#include "app/ToastOverlay.h"

#include "platform/runtime/MainQueue.h"
#include "views/ElidedLabel.h"
#include "views/ZelTool.h"

#include <QApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMainWindow>
#include <QPropertyAnimation>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>

ToastOverlay::ToastOverlay(QObject* parent)
    : QObject(parent)
    , m_hideTimer(new QTimer(this))
{
    m_hideTimer->setSingleShot(true);
    connect(m_hideTimer, &QTimer::timeout, this, &ToastOverlay::fadeOut);
}

ToastOverlay::~ToastOverlay()
{
    if (MessageToast::presenter() == this)
        MessageToast::setPresenter(nullptr);
    delete m_label;
}

QLabel* ToastOverlay::currentToast() const
{
    return m_label;
}

void ToastOverlay::present(const QString& text, double seconds)
{
    // Widgets live on the main thread; a message from elsewhere goes there first.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, text, seconds] { showOnMainThread(text, seconds); }, Qt::QueuedConnection);
        return;
    }
    showOnMainThread(text, seconds);
}

void ToastOverlay::showOnMainThread(const QString& text, double seconds)
{
    QWidget* window = targetWindow();
    if (window && showsAlready(window, text))
        return;
    dismiss();
    if (!window)
        return;

    m_label = new QLabel(text, window);
    m_label->setObjectName(QStringLiteral("toast"));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setAttribute(Qt::WA_StyledBackground);
    window->installEventFilter(this);
    place();
    m_label->show();
    m_label->raise();
    m_hideTimer->start(MainQueue::scaledMilliseconds(seconds));
}

QWidget* ToastOverlay::targetWindow()
{
    if (QWidget* key = ZelTool::getKeyWindow())
        return key;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qobject_cast<QMainWindow*>(window))
            return window;
    return nullptr;
}

bool ToastOverlay::showsAlready(const QWidget* window, const QString& text)
{
    const QString said = text.trimmed();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        // The toast itself says it again, for its new time.
        if (label->objectName() == QLatin1String("toast") || !label->isVisible())
            continue;
        const auto* elided = qobject_cast<const ElidedLabel*>(label);
        if (label->text().trimmed() == said || (elided && elided->fullText().trimmed() == said))
            return true;
    }
    return false;
}

void ToastOverlay::place()
{
    if (!m_label)
        return;
    QWidget* window = m_label->parentWidget();
    const int maxWidth = qMax(160, window->width() * 2 / 3);
    m_label->setMaximumWidth(maxWidth);
    m_label->adjustSize();
    const QSize size = m_label->sizeHint().boundedTo(QSize(maxWidth, window->height()));
    m_label->resize(size.width(),
        m_label->heightForWidth(size.width()) > 0 ? m_label->heightForWidth(size.width()) : size.height());
    // At the foot: the screens keep their controls in the middle.
    m_label->move(
        (window->width() - m_label->width()) / 2, std::max(0, window->height() - m_label->height() - kBottomMargin));
}

bool ToastOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (m_label && watched == m_label->parentWidget() && event->type() == QEvent::Resize)
        place();
    return QObject::eventFilter(watched, event);
}

void ToastOverlay::fadeOut()
{
    if (!m_label)
        return;
    QLabel* label = m_label;
    m_label = nullptr;
    auto* effect = new QGraphicsOpacityEffect(label);
    label->setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity", label);
    fade->setDuration(MainQueue::scaledMilliseconds(kFadeSeconds));
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, label, &QObject::deleteLater);
    fade->start();
}

void ToastOverlay::dismiss()
{
    m_hideTimer->stop();
    if (m_label) {
        if (QWidget* window = m_label->parentWidget())
            window->removeEventFilter(this);
        delete m_label;
    }
}
