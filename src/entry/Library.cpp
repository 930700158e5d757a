// The shared library's own translation unit; its content comes from the
// entry layer, linked in whole.
#include "tolvenk/Quernat.h"
