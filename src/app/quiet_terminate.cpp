// The GNU C++ runtime's default terminate handler prints the type of an uncaught exception to
// the standard error stream, and links a whole symbol demangler (about 70 KB) to do it. A GUI
// program has no such stream to print to, so this one only ends the process, as that handler
// does after printing. The tool throws no exceptions of its own; this is the runtime's last word.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
