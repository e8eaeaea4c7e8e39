#pragma once

#include <string>

class Harness;

// The checks the program runs, one per process; each returns the exit code.
int RunScene(Harness& h, int type, const std::string& gfxPath);
int RunSwitch(Harness& h, const std::string& gfxPath);
int RunDirect3DFaults(Harness& h);
int RunStretchFailure(Harness& h);
int RunDirectDrawNo(Harness& h);
int RunOpenGLInitFailure(Harness& h);
