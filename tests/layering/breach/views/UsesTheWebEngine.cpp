// A screen that uses the web engine itself instead of the web module: the
// layering check must refuse it.
#include <QtWebEngineWidgets/QWebEngineView>
