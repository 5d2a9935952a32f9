// Built the wrong way on purpose: a console program that imports the compiler's C++ runtime
// (libstdc++) and keeps its symbols. The footprint check must reject it; it is never run.
#include <cstdio>
#include <stdexcept>
#include <string>

int main(int argc, char** argv) {
    try {
        if (argc > 5) throw std::runtime_error(std::string(argv[0]) + " was given too much");
    } catch (const std::exception& error) {
        std::puts(error.what());
    }
    return 0;
}
