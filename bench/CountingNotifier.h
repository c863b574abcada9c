#pragma once
// Message boxes of a benchmark: printed to standard error and counted, so a
// run that showed one can fail.

#include "link/Notifier.h"

#include <cstdio>
#include <string>

namespace halcyra::bench {

class CCountingNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons, MsgIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        ++shown;
        return MsgAnswer::Ok;
    }
    int shown = 0;
};

} // namespace halcyra::bench
