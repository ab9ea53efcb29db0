// velkaro: the picture tool. On a display it opens the start window; with
// --headless it runs on the in-memory screen and saves what it showed.
#include "app/program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    velkaro::app::ProgramOptions options;
    options.headless = !std::getenv("DISPLAY");
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--headless")) {
            options.headless = true;
        } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
            options.screenshotPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: velkaro [--headless] [--screenshot FILE.png]\n");
            return 2;
        }
    }
    if (options.headless && options.screenshotPath.empty())
        options.screenshotPath = "velkaro-start.png";
    return velkaro::app::runProgram(options);
}
