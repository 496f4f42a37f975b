#include "views/ZelTool.h"

#include "platform/runtime/Localization.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

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
    const QStringList preferred = Localization::shared().preferredLanguages();
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
