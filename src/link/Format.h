#pragma once
// printf-style formatting into a string of whatever length the text needs,
// and the local time of day for texts that show it.

#include <cstdio>
#include <ctime>
#include <string>

namespace halcyra {

template <typename... Args> std::string Format(const char* format, Args... args)
{
    const int n = std::snprintf(nullptr, 0, format, args...);
    if (n <= 0)
        return {};
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

// The local time at t, safe from other threads' use of the C library's
// own; false when the system cannot say.
inline bool LocalTimeOf(std::time_t t, std::tm& local)
{
#ifdef _WIN32
    return ::localtime_s(&local, &t) == 0;
#else
    return ::localtime_r(&t, &local) != nullptr;
#endif
}

} // namespace halcyra
