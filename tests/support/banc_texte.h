// A description held in memory, read as the program reads a file of that name.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/rapport.h"
#include "model/system.h"

namespace optic::test {

inline System_Physique::Lecture LireTexte(System_Physique& systeme, std::string texte,
                                          const std::string& nom, Rapport& rapport) {
    std::FILE* a = fmemopen(texte.data(), texte.size(), "r");
    std::FILE* b = fmemopen(texte.data(), texte.size(), "r");
    const System_Physique::Lecture fin = systeme.ReadSystem_Physique(a, b, nom, rapport);
    std::fclose(a);
    std::fclose(b);
    return fin;
}

// Reads a description that must read whole and without a message.
inline void LireBanc(System_Physique& systeme, const std::string& texte) {
    RapportMemoire rapport;
    EXPECT_EQ(LireTexte(systeme, texte, "bench.txt", rapport), System_Physique::Lecture::Complete);
    EXPECT_EQ(rapport.Texte(), "");
}

}  // namespace optic::test
