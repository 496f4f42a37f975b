#pragma once

#include "views/WebPage.h"

#include <QStringList>

// The web engine, loaded with the web module only when the first web page
// screen is made: the engine's libraries would otherwise cost every start of
// the application. Once loaded the module stays for the life of the process
// (the engine cannot be unloaded); a module that failed to load is tried
// again by the next screen.
class WebPageModule {
public:
    // How long a screen's first load may take before it is stopped.
    static constexpr double kTimeoutSeconds = 20.0;
    // Names the module file to load instead of looking in the usual places.
    static constexpr const char* kPathVariable = "Q3DART_WEB_MODULE";

    // Before the application object: what the engine, loaded later, needs
    // of it. Without it the pages are not shown (the engine would crash).
    static void prepareApplication();
    // After the application object, before its first window: windows are
    // composed with the graphics card from the start where it works, so
    // that the first page to open does not make the window anew (black for
    // a moment). Not on the offscreen platforms, nor where OpenGL does not
    // work (the window would show nothing), nor without the module, nor when
    // QT_WIDGETS_RHI is set already. Whether windows are composed so.
    static bool prepareWindows();

    // Puts the page into area, its first load limited to kTimeoutSeconds, or,
    // when the module cannot be loaded, a message saying so; nullptr then.
    // The area must be empty.
    static WebPage* show(QWidget* area, WebPage::Settings settings);

    static bool isLoaded();
    // Where the module is looked for, in order: the variable alone when set;
    // else next to the executable, the installed library folder, the build tree.
    static QStringList candidates();

private:
    static WebPageFactory factory();
};
