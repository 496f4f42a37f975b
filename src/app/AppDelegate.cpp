#include "app/AppDelegate.h"

#include "firmware/ZelDataTool.h"

#include <QUrl>

bool AppDelegate::openURL(const QUrl& url)
{
    if (url.scheme() == QLatin1String("file"))
        ZelDataTool::handleFileInBackground(url);
    return true;
}
