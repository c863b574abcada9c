#include "sim/SimOptions.h"

#include <cstdlib>

namespace halcyra::sim {

namespace {

bool ToNumber(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

bool Share(const std::string& text, double& out, std::string& error)
{
    double percent = 0;
    if (!ToNumber(text, percent) || percent < 0 || percent > 100) {
        error = "expected a percentage 0..100, got '" + text + "'";
        return false;
    }
    out = percent / 100.0;
    return true;
}

bool NonNegative(const std::string& text, double& out, std::string& error)
{
    if (!ToNumber(text, out) || out < 0) {
        error = "expected a non-negative number, got '" + text + "'";
        return false;
    }
    return true;
}

} // namespace

const std::map<std::string, std::string>& FeatureOptionNames()
{
    // Options read by the handlers of individual features: name -> usage text.
    static const std::map<std::string, std::string> names = {
        // controller identity and compatibility
        {"firmware-version", "firmware-version N  application version times 100 (default 286)"},
        {"firmware-date", "firmware-date Y-M-D  application date (default 2009-7-2)"},
        {"serial", "serial TEXT       serial number (default HC2-0042137)"},
        {"options", "options LIST      installed option indexes, comma-separated (default 1,6,8,10)"},
        {"compat-a", "compat-a BYTE     answer to compatibility query A (default 1)"},
        {"compat-b", "compat-b BYTE     answer to compatibility query B (default 1)"},
        {"compat-c", "compat-c BYTE     answer to compatibility query C (default 1)"},
        // data blocks
        {"log-length", "log-length BYTES  length of the data log, block 1 (default 3000)"},
        {"begin-status", "begin-status N    status byte of every begin-download and begin-upload reply (0 accepts)"},
        {"stall-chunk", "stall-chunk N     stop answering block chunks from chunk N on (drops out mid-transfer)"},
        // fault table
        {"faults", "faults TABLE      fault table SLOTS[;SLOT,COUNT,DATA1,DATA2,DATA3,DESCRIPTION]... listing the "
                   "active slots (default 5 slots, 1 and 3 active)"},
    };
    return names;
}

bool ParseSimOption(const std::vector<std::string>& args, std::size_t& index, SimOptions& o, std::string& error)
{
    const std::string& opt = args[index];
    auto value = [&](std::string& out) {
        if (index + 1 >= args.size()) {
            error = opt + " needs a value";
            return false;
        }
        out = args[++index];
        return true;
    };
    std::string v;
    double n = 0;
    if (opt == "--silent") {
        o.faults.silent = true;
        return true;
    }
    if (opt == "--verbose") {
        o.verbose = true;
        return true;
    }
    if (!value(v))
        return false;
    if (opt == "--link")
        o.linkPath = v;
    else if (opt == "--setup")
        o.setupFile = v;
    else if (opt == "--set") {
        if (v.find('=') == std::string::npos || v.front() == '=') {
            error = "--set expects NAME=VALUE, got '" + v + "'";
            return false;
        }
        o.assignments.push_back(v);
    } else if (opt == "--drop")
        return Share(v, o.faults.dropShare, error);
    else if (opt == "--corrupt")
        return Share(v, o.faults.corruptShare, error);
    else if (opt == "--delay-share")
        return Share(v, o.faults.delayShare, error);
    else if (opt == "--delay") {
        if (!NonNegative(v, n, error))
            return false;
        o.faults.delay = std::chrono::milliseconds(static_cast<long long>(n));
    } else if (opt == "--noise") {
        if (!NonNegative(v, n, error))
            return false;
        o.faults.noiseBytes = static_cast<int>(n);
    } else if (opt == "--pace") {
        if (!NonNegative(v, n, error))
            return false;
        o.faults.paceBaud = static_cast<unsigned>(n);
    } else if (opt == "--seed") {
        if (!NonNegative(v, n, error))
            return false;
        o.faults.seed = static_cast<std::uint64_t>(n);
    } else if (opt == "--restart-ms") {
        if (!NonNegative(v, n, error))
            return false;
        o.settings.restartTime = std::chrono::milliseconds(static_cast<long long>(n));
    } else if (opt.rfind("--", 0) == 0 && FeatureOptionNames().count(opt.substr(2)) != 0) {
        o.settings.extra[opt.substr(2)] = v;
    } else {
        error = "unknown option " + opt;
        return false;
    }
    return true;
}

std::string SimOptionsUsage(const std::string& p)
{
    return "  " + p + "setup FILE        start from this parameter text file instead of the built-in setup\n"
           "  " + p + "set NAME=VALUE    override one parameter (repeatable); VALUE in its text form\n"
           "  " + p + "silent            never answer\n"
           "  " + p + "drop PERCENT      leave this share of replies unsent\n"
           "  " + p + "corrupt PERCENT   damage one byte of this share of replies\n"
           "  " + p + "delay MS          hold replies back this long (past 1000 ms they reach the next request)\n"
           "  " + p + "delay-share PERCENT  share of replies delayed (default 100)\n"
           "  " + p + "noise COUNT       send COUNT random bytes before each reply\n"
           "  " + p + "pace BAUD         send no faster than this line rate (38400 for the real wire)\n"
           "  " + p + "restart-ms MS     silence after a reset request (default 2000)\n"
           "  " + p + "seed N            seed for the random choices of the options above\n"
           "  " + p + "verbose           log every request and reply to standard error\n" + [&] {
               std::string more;
               for (const auto& [name, usage] : FeatureOptionNames())
                   more += "  " + p + usage + "\n";
               return more;
           }();
}

} // namespace halcyra::sim
