// halcyra-toolbox: the desktop service tool for the Halcyra controller.

#include "app/ui/OffscreenFonts.h"
#include "app/ui/ToolboxApp.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const auto started = std::chrono::steady_clock::now();
    // The command line first: --help and usage errors need no display.
    std::vector<std::string> args(argv + 1, argv + argc);
    halcyra::ToolboxOptions options;
    options.started = started;
    bool help = false;
    std::string error;
    if (!halcyra::ParseToolboxArgs(args, options, help, error)) {
        std::fprintf(stderr, "halcyra-toolbox: %s\n%s", error.c_str(), halcyra::ToolboxUsage().c_str());
        return 2;
    }
    if (help) {
        std::printf("%s", halcyra::ToolboxUsage().c_str());
        return 0;
    }
    if (options.version) {
        std::printf("halcyra-toolbox " HALCYRA_VERSION "\n");
        return 0;
    }
    halcyra::OfferSystemFontsOffscreen(); // for --render without a screen
    QApplication app(argc, argv);
    halcyra::ConfigureApplication();
    halcyra::CToolboxApp toolbox(options);
    return toolbox.Run();
}
