// The web module reaching past the page interface into the screens and the
// core: the layering check must refuse both, and let the interface pass.
#include "views/WebPage.h"
#include "views/ZelTool.h"
#include "platform/runtime/Localization.h"
