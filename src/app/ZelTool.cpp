#include "app/ZelTool.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

#include <optional>

namespace {
std::optional<QStringList> g_preferredLanguages;
}

QWidget* ZelTool::getKeyWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isActiveWindow())
            return window;
    return nullptr;
}

QWidget* ZelTool::getCurrentViewController()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return getKeyWindow();
}

QStringList ZelTool::preferredLanguages()
{
    if (g_preferredLanguages)
        return *g_preferredLanguages;
    const QString forced = qEnvironmentVariable("Q3DART_LANGUAGE");
    if (!forced.isEmpty())
        return {forced};
    return QLocale::system().uiLanguages();
}

void ZelTool::setPreferredLanguages(const QStringList& languages)
{
    g_preferredLanguages = languages;
}

unsigned ZelTool::languageForText(const QString& text)
{
    // "zh" is tested first: a text holding both is Chinese.
    if (text.contains(QLatin1String("zh")))
        return Chinese;
    if (text.contains(QLatin1String("ja")))
        return Japanese;
    return English;
}

unsigned ZelTool::getSystemLanguage()
{
    const QStringList preferred = preferredLanguages();
    return languageForText(preferred.isEmpty() ? QLocale().name() : preferred.first());
}

QString ZelTool::getSystemLanguageShorthand()
{
    switch (getSystemLanguage()) {
    case Chinese:
        return QStringLiteral("zh");
    case Japanese:
        return QStringLiteral("ja");
    default:
        return QStringLiteral("en");
    }
}
