#include "cli/Cli.h"
#include "cli/Interrupt.h"

#include <iostream>

int main(int argc, char** argv)
{
    halcyra::cli::InstallInterruptHandler();
    return halcyra::cli::RunHalcyra(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, std::cin);
}
