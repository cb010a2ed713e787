#include <cstdio>
#include <iostream>

#include "cli/principal.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return optic::Principal(argc, argv, std::cout, std::cerr, stderr);
}
