#pragma once
// Ctrl-C (or a TERM signal, or a closed console window) in the middle of a
// save: the file being written beside its destination goes, the destination
// stays as it was, and the program ends as the interruption would have ended
// it.

namespace halcyra::cli {

void InstallInterruptHandler();

} // namespace halcyra::cli
