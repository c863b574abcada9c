#pragma once
// What the shell may offer for the word being typed, made from the command
// table: `halcyra --complete WORD...` is given the words after the program's
// name up to the one being typed (empty when none is begun) and prints
// "words" and the words to offer, one a line, or "files" when a path is due.

#include <functional>
#include <string>
#include <vector>

namespace halcyra::cli {

struct Completion {
    bool files = false;
    std::vector<std::string> words;
};

// ports lists the serial ports' devices, for --port.
Completion Complete(const std::vector<std::string>& words, const std::function<std::vector<std::string>()>& ports);
// As --complete prints it.
std::string CompletionText(const Completion& completion);

} // namespace halcyra::cli
