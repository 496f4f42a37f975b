// A core file that reaches up into the screens: the layering check must refuse it.
#include "views/ZelHomeView.h"
