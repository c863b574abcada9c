#include "cli/ProgramArguments.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shellapi.h>

namespace halcyra::cli {

namespace {

std::string Utf8(const wchar_t* wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.pop_back(); // the terminating NUL
    return text;
}

} // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return args;
}

} // namespace halcyra::cli
