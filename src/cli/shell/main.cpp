#include "cli/shell/Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tavisto::cli::RunCli(args, std::cout, std::cerr, tavisto::cli::SystemEnvironment());
}
