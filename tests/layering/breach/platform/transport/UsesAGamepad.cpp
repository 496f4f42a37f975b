// An accessory transport that reaches across into the game-controller devices:
// the two rooms of the platform never include each other.
#include "platform/gamepad/GCController.h"
