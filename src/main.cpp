#include <iostream>

#include "optic/execution.h"
#include "optic/parallele.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::string description = argc < 2 ? optic::kDescriptionParDefaut : argv[1];
    const int statut = optic::Executer(description, std::cout, optic::NombreFilsParDefaut());
    std::cout.flush();
    return statut;
}
