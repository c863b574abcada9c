// halcyra-toolbox: the desktop service tool for the Halcyra controller.

#include "app/ui/ToolboxApp.h"

#include <QApplication>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const auto started = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    // Parameter values travel as "%f" text: numbers must not follow the
    // user's locale (a decimal comma would reach the controller).
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QString::fromLatin1(halcyra::kSettingsOrganization));
    QApplication::setApplicationName(QString::fromLatin1(halcyra::kSettingsApplication));

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
    halcyra::CToolboxApp toolbox(options);
    return toolbox.Run(argc > 0 ? argv[0] : "halcyra-toolbox");
}
