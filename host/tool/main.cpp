#include "HostCommands.h"

#include <iostream>

int main (int argc, char* argv[])
{
    return kestrune::tool::runHostCommand (argc - 1, argv + 1, std::cout, std::cerr);
}
