#pragma once

#include <QMainWindow>

#include <functional>

class QUrl;
class ViewController;

// The application's one window: holds the root controller, sized like a phone
// held in the controller, and takes release archives dropped on it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 1024;
    static constexpr int kDefaultHeight = 576;
    // The smallest window the screens are laid out for.
    static constexpr int kMinimumWidth = 720;
    static constexpr int kMinimumHeight = 405;

    explicit MainWindow(QWidget* parent = nullptr);

    ViewController* rootViewController() const { return m_root; }

    // Receives the archives dropped on the window, all of one drop at once.
    std::function<void(const QList<QUrl>&)> filesDropped;
    // Sees every key press and release first; returns true when it used the key.
    std::function<bool(int key, bool down)> keyHandler;
    // Runs once, from the event loop, after the window's first paint: for
    // work that should not hold up the first screen.
    std::function<void()> firstPainted;

    // Closing the window while an upgrade runs asks first: the controller
    // would be left between two firmware images.
    void closeEvent(QCloseEvent* event) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ViewController* m_root;
    bool m_quitConfirmed = false;
};
