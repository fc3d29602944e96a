// The crash package's one piece of C++: a throw that leaves through the package's C frames.
#include <stdexcept>

extern "C" void CrashThrow(void) { throw std::runtime_error("thrown by the crash package"); }
