#pragma once

#include "lib/MessageToast.h"

#include <QObject>
#include <QPointer>

class QLabel;
class QTimer;
class QWidget;

// The message toast on screen: a text-only panel in the middle of the active
// window that lets clicks through, replaces the one shown before, and fades
// out after its time.
class ToastOverlay : public QObject, public ToastPresenter {
    Q_OBJECT
public:
    static constexpr double kFadeSeconds = 0.2;

    explicit ToastOverlay(QObject* parent = nullptr);
    ~ToastOverlay() override;

    void present(const QString& text, double seconds) override;
    // Removes the toast at once.
    void dismiss();

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

    QPointer<QLabel> m_label;
    QTimer* m_hideTimer = nullptr;
};
