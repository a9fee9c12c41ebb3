#include <iostream>

#include "tools/ToolApplication.h"

int main(int argc, char** argv) {
    return vx40::tool::RunTool(argc, argv, std::cout, std::cerr);
}
