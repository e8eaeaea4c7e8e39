// The test's own "patch.exe": what the client starts once a package is
// unpacked. It writes "patch-ran.txt" into its working directory with its own
// path, so that the driver sees that it ran and which copy it was.
#include <cstdio>

#include "platform/Win32.h"

int main() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    FILE* marker = std::fopen("patch-ran.txt", "wb");
    if (!marker)
        return 1;
    std::fprintf(marker, "%s\n", self);
    std::fclose(marker);
    return 0;
}
