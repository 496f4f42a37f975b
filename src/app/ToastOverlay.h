#pragma once

#include "lib/MessageToast.h"

#include <QObject>
#include <QPointer>

class QLabel;
class QTimer;
class QWidget;

// The message toast on screen: a text-only panel near the foot of the active
// window, clear of the screens' controls, that lets clicks through, replaces
// the one shown before, and fades out after its time. A text the window shows
// already is not said again; a new screen takes the toast away.
class ToastOverlay : public QObject, public ToastPresenter {
    Q_OBJECT
public:
    static constexpr double kFadeSeconds = 0.2;
    // Between the toast and the window's foot.
    static constexpr int kBottomMargin = 24;

    explicit ToastOverlay(QObject* parent = nullptr);
    ~ToastOverlay() override;

    void present(const QString& text, double seconds) override;
    // Removes the toast at once.
    void dismiss() override;

    // The toast on screen, or null.
    QLabel* currentToast() const;

private:
    void showOnMainThread(const QString& text, double seconds);
    void fadeOut();
    void place();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The active window; else, as on a desktop whose focus is elsewhere, the
    // first visible main window.
    static QWidget* targetWindow();
    // Whether the window shows text already, in a label of its own.
    static bool showsAlready(const QWidget* window, const QString& text);

    QPointer<QLabel> m_label;
    QTimer* m_hideTimer = nullptr;
};
