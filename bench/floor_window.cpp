// The floor of the application's start-up: a bare Qt Widgets program of one
// 1024x576 window with a label and three buttons, measured from launch to its
// first paint exactly as the application measures itself (--measure-startup).
// Whatever the application takes beyond this is ours.
//
//   Q3DART_LAUNCHED_AT_NS=$(date +%s%N) QT_QPA_PLATFORM=offscreen floor_window
#include "app/StartupProbe.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1024, 576);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Connect the controller"), &window));
    auto* buttons = new QHBoxLayout;
    for (const char* text : { "Upgrade", "Key test", "Games" })
        buttons->addWidget(new QPushButton(QString::fromLatin1(text), &window));
    layout->addLayout(buttons);
    StartupProbe probe(&window);
    window.show();
    return app.exec();
}
