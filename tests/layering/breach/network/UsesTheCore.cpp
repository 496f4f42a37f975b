// The network module reaching past its interface into the core: the layering
// check must refuse it, and let the interface pass.
#include "lib/NetworkBackend.h"
#include "lib/HttpClient.h"
