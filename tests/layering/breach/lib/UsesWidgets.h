// A core header that pulls in Qt Widgets: the layering check must refuse it.
#include <QPushButton>
