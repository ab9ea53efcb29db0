// The program's start-up sequence and message loop.
#pragma once

#include <string>

namespace velkaro::app {

struct ProgramOptions {
    bool headless = false;      // run on the in-memory screen
    std::string screenshotPath; // headless: where to save the start window's picture
};

// Steps of the run time's start that the engine relies on: the program's
// icon resource and window classes.
void initRuntime();

// Runs the program; returns the exit code of the message loop (0).
int runProgram(const ProgramOptions& options);

} // namespace velkaro::app
