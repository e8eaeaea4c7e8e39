// backend_check: draws with the real back ends in a real window for the
// driver (driver.py). Usage:
//   backend_check scene <work dir> <engine type> <graphics file>
//   backend_check switch <work dir> <graphics file>
//   backend_check d3d-faults <work dir>
//   backend_check d3d-stretch-failure <work dir>
//   backend_check ddraw-no <work dir>
//   backend_check gl-init-failure <work dir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/wine/backends/Harness.h"
#include "tests/wine/backends/Modes.h"

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: backend_check <mode> <work dir> ...\n");
        return 2;
    }
    const std::string mode = argv[1];
    Harness harness(argv[2]);
    if (mode == "scene" && argc == 5)
        return RunScene(harness, std::atoi(argv[3]), argv[4]);
    if (mode == "switch" && argc == 4)
        return RunSwitch(harness, argv[3]);
    if (mode == "d3d-faults")
        return RunDirect3DFaults(harness);
    if (mode == "d3d-stretch-failure")
        return RunStretchFailure(harness);
    if (mode == "ddraw-no")
        return RunDirectDrawNo(harness);
    if (mode == "gl-init-failure")
        return RunOpenGLInitFailure(harness);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
