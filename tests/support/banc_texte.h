// A description held in memory, read as the program reads a file of that name.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/rapport.h"
#include "model/system.h"

namespace optic::test {

inline const std::string kVerre = "I 1.5 400 1.5 500 1.5 600\n";  // a glass of one index

inline System_Physique::Lecture LireTexte(System_Physique& systeme, std::string texte,
                                          const std::string& nom, Rapport& rapport) {
    std::FILE* a = fmemopen(texte.data(), texte.size(), "r");
    std::FILE* b = fmemopen(texte.data(), texte.size(), "r");
    const System_Physique::Lecture fin = systeme.ReadSystem_Physique(a, b, nom, rapport);
    std::fclose(a);
    std::fclose(b);
    return fin;
}

// Reads a description that must read whole, with the messages given (none by default).
inline void LireBanc(System_Physique& systeme, const std::string& texte,
                     const std::string& messages = "") {
    RapportMemoire rapport;
    EXPECT_EQ(LireTexte(systeme, texte, "bench.txt", rapport), System_Physique::Lecture::Complete);
    EXPECT_EQ(rapport.Texte(), messages);
}

}  // namespace optic::test
