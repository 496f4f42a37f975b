#include "lib/MessageToast.h"

#include <cstdio>

namespace {
ToastPresenter* g_presenter = nullptr;
}

void MessageToast::showMsgWithtext(const QString& text)
{
    showMsgWithtext(text, kDefaultSeconds);
}

void MessageToast::showMsgWithtext(const QString& text, double afterDelay)
{
    if (g_presenter)
        g_presenter->present(text, afterDelay);
}

void MessageToast::dismiss()
{
    if (g_presenter)
        g_presenter->dismiss();
}

void MessageToast::setPresenter(ToastPresenter* presenter)
{
    g_presenter = presenter;
}

ToastPresenter* MessageToast::presenter()
{
    return g_presenter;
}

void RecordingToastPresenter::present(const QString& text, double seconds)
{
    m_toasts.push_back({ text, seconds });
}

QStringList RecordingToastPresenter::texts() const
{
    QStringList result;
    for (const Toast& t : m_toasts)
        result.append(t.text);
    return result;
}

void StderrToastPresenter::present(const QString& text, double)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}
