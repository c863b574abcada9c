#include "app/ui/OffscreenFonts.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#include <string>
#endif

namespace halcyra {

void OfferSystemFontsOffscreen()
{
#ifdef _WIN32
    if (_wgetenv(L"QT_QPA_FONTDIR") != nullptr)
        return; // the user's choice stands
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::wstring fonts = std::wstring(windows, length) + L"\\Fonts";
    // Through the C runtime, whose copy of the environment Qt reads.
    _wputenv_s(L"QT_QPA_FONTDIR", fonts.c_str());
#endif
}

} // namespace halcyra
