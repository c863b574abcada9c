#pragma once
// Options of the simulated controller, shared by halcyra-sim and by the
// programs that start it in-process (--simulator). Options of the server
// and the wire are declared here, those of features beside each feature.

#include "sim/SimController.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra::sim {

// Misbehaviour to inject, each as a share of replies (0..1).
struct FaultSettings {
    bool silent = false;
    double dropShare = 0;
    double corruptShare = 0;
    std::chrono::milliseconds delay{0};
    double delayShare = 1.0;
    int noiseBytes = 0;      // random bytes sent before each reply
    unsigned paceBaud = 0;   // 0: send at once; otherwise no faster than this line rate
    std::uint64_t seed = 1;
};

struct SimOptions {
    SimSettings settings;
    FaultSettings faults;
    std::string linkPath;             // symlink to create at the device path
    std::string setupFile;            // replaces the built-in setup
    std::vector<std::string> assignments; // NAME=VALUE overrides, in order
    bool verbose = false;
};

// Parses the option at args[index], written with prefix ("--" for
// halcyra-sim, "--sim-" for the programs that start the simulator), and
// consumes its value. False with an error naming the option as written for
// an unknown option, a missing value or a value that does not parse.
bool ParseSimOption(const std::vector<std::string>& args, std::size_t& index, SimOptions& options,
                    std::string& error, std::string_view prefix = "--");

// Usage lines for the options, each starting with the given prefix.
std::string SimOptionsUsage(const std::string& prefix);

// The options the usage lists: each name (without a prefix) and its
// value's placeholder, empty for a flag.
struct SimOptionName {
    std::string name;
    std::string valueName;
};
std::vector<SimOptionName> ListedSimOptions();

} // namespace halcyra::sim
