// Fixture: compiled with the platform layer's include folder only, where the
// data layer's headers are not found.
#include <data/Globals.h>
