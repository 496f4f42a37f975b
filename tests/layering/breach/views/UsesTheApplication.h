// A screen that reaches into the application objects: the layering check must refuse it.
#include "app/ViewController.h"
#include "platform/runtime/Localization.h"
