// What std::terminate does in the product. libstdc++'s default handler prints the
// demangled type of the escaping exception to stderr, which a GUI program does not
// have; it drags in the demangler and printf (about 50 KB of the exe) for nothing.
// Every window procedure and the program entry catch all exceptions, so reaching
// this is a bug: end at once, as the default handler does after printing.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
