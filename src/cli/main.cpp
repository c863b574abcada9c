#include "cli/Cli.h"
#include "cli/Interrupt.h"
#include "cli/ProgramArguments.h"

#include <iostream>

int main(int argc, char** argv)
{
    halcyra::cli::InstallInterruptHandler();
    return halcyra::cli::RunHalcyra(halcyra::cli::ProgramArguments(argc, argv), std::cout, std::cerr, std::cin);
}
