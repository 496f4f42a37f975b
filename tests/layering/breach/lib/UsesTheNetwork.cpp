// The core reaching for Qt Network itself: the application would link it again.
#include <QNetworkAccessManager>
