// The runtime's default terminate handler prints the uncaught exception's
// demangled type to stderr, which a GUI program does not have; it brings in
// the whole C++ demangler (about 45 KB of the installer). Defining the handler
// here keeps the library's out of the link. Terminating stays an abort.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
