#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Where toasts appear: on screen in the application, on standard error in the
// command-line tools, in a list in tests.
class ToastPresenter {
public:
    virtual ~ToastPresenter() = default;
    // Shows text for `seconds`, replacing whatever toast is shown.
    virtual void present(const QString& text, double seconds) = 0;
    // Takes the toast shown away at once, if there is one.
    virtual void dismiss() { }
};

// A short message to the user. Every message goes through the presenter that
// the running program installed; with none installed it goes nowhere.
class MessageToast {
public:
    static constexpr double kDefaultSeconds = 1.5;

    static void showMsgWithtext(const QString& text);
    static void showMsgWithtext(const QString& text, double afterDelay);
    // Takes the toast shown away: what it said belonged to the screen that
    // has just given way to another.
    static void dismiss();

    // The presenter is not owned; pass nullptr to remove it.
    static void setPresenter(ToastPresenter* presenter);
    static ToastPresenter* presenter();
};

// Keeps every toast, for tests.
class RecordingToastPresenter : public ToastPresenter {
public:
    struct Toast {
        QString text;
        double seconds;
    };
    void present(const QString& text, double seconds) override;
    void dismiss() override { ++m_dismissals; }
    const std::vector<Toast>& toasts() const { return m_toasts; }
    // How often the toast shown was taken away.
    int dismissals() const { return m_dismissals; }
    QStringList texts() const;
    void clear()
    {
        m_toasts.clear();
        m_dismissals = 0;
    }

private:
    std::vector<Toast> m_toasts;
    int m_dismissals = 0;
};

// Prints each toast as one line on standard error, for the command-line tools.
class StderrToastPresenter : public ToastPresenter {
public:
    void present(const QString& text, double seconds) override;
};
