// A shared library with a constructor and none of a component's entry points:
// the registration checks must refuse it without ever loading it.
#include <cstdlib>

namespace {
__attribute__((constructor)) void announceLoad() { setenv("TAMRIK_ROGUE_LOADED", "1", 1); }
}  // namespace

extern "C" int DllGetClassObject() { return 0; }  // one of four is not enough
