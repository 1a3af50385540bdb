// The floor of a command: a C++ program linked with the same shared libraries as `hmf` (the C++
// runtime and ERFA) that prints one line and exits. tools/bench-all.sh times each command against
// it, as whole processes.

#include <erfa.h>

#include <iostream>

int main(int argc, char**)
{
    // One ERFA call keeps the library among the program's dependencies, as it is for hmf.
    double jd0 = 0, jd1 = 0;
    eraCal2jd(2000 + argc, 1, 1, &jd0, &jd1);
    std::cout << "hello " << (jd0 + jd1 > 0 ? "world" : "") << '\n';
    return 0;
}
