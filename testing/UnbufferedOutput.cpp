// Compiled into every test program: its output is written as it is made, so a program that dies
// (a crash, a failed start under Wine) still shows the last test it ran instead of nothing.
#include <cstdio>

namespace {

struct UnbufferedOutput {
    UnbufferedOutput() {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        std::setvbuf(stderr, nullptr, _IONBF, 0);
    }
};

const UnbufferedOutput unbufferedOutput;

}  // namespace
