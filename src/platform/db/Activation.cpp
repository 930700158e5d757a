#include "platform/db/Activation.h"

namespace tolvenk::db {

namespace {
unsigned activations = 0;
}  // namespace

void noteWindowActivated() { ++activations; }
unsigned activationCount() { return activations; }

}  // namespace tolvenk::db
