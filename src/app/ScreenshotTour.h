#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class EmbeddedDefault;
class MainWindow;
class ToastOverlay;
class VirtualGameController;
class ViewController;

// Walks the application through its screens in their main states against the
// simulated controller and saves each as a PNG file, then ends the program.
class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    // How long one state may take to come about before the tour gives up.
    static constexpr double kStepTimeoutSeconds = 30.0;
    // Lets animations (slides, progress bar) finish before a picture is taken.
    static constexpr int kSettleMs = 400;

    ~ScreenshotTour() override;
    ScreenshotTour(MainWindow* window, EmbeddedDefault* embedded, ToastOverlay* toasts, const QString& folder,
        QObject* parent = nullptr);

    void start();

    // The file names written, in order.
    static QStringList fileNames();

private:
    struct Step {
        QString fileName; // empty: a step that takes no picture
        std::function<void()> action; // brings the state about
        std::function<bool()> ready; // true once it is on screen
        bool keepsToast = false; // the picture shows the toast on screen
    };
    void buildSteps();
    void runStep();
    void poll();
    void finish(int exitCode, const QString& message);

    MainWindow* m_window;
    ViewController* m_root;
    EmbeddedDefault* m_embedded;
    ToastOverlay* m_toasts;
    QString m_folder;
    // The window's size for the pictures, but those of the first screens grown.
    QSize m_size;
    std::vector<Step> m_steps;
    size_t m_index = 0;
    QTimer m_poll;
    QElapsedTimer m_elapsed;
    bool m_settling = false;
    // What the layout audit and the size check found, picture by picture.
    QStringList m_faults;
    // The firmware server while the tour shows one that cannot be reached.
    QString m_server;
    // The joystick without mapping the key test shows for a while.
    std::unique_ptr<VirtualGameController> m_joystick;
    // Plays the user through the stick check, a tick at a time.
    std::shared_ptr<class Timer> m_checkDriver;
    double m_checkAngle = 0; // along the gate, or the ticks at rest
    int m_checkStep = -1; // the step the angle belongs to
    void driveCheck();
};
