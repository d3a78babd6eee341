#include "cli/amftool.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunAmfTool(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
