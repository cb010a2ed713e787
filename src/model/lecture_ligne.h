#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace optic {

// Reads a description file the way its lines have always been cut: at most 499 characters
// at a time (the rest of a longer line comes as a line of its own), the line feed kept.
// A carriage return right before a line feed is dropped first, so files with Windows line
// ends read like the others.
class LecteurLignes {
  public:
    static constexpr std::size_t kLongueurMax = 499;

    explicit LecteurLignes(std::FILE* fichier) : fichier_(fichier) {}

    // The next line, or false at the end of the file.  Like a C string, the line's content
    // ends at its first NUL byte.
    bool Lire(std::string& ligne);

    // The line of the file the last chunk came from: 1 for the first, as an editor counts
    // (the chunks of a long line share its number).
    int Numero() const { return numero_; }
    // Whether the last chunk is the rest of a longer line rather than the start of a line.
    bool Suite() const { return suite_; }

  private:
    std::FILE* fichier_;
    int numero_ = 0;
    int suivante_ = 1;
    bool suite_ = false;
    bool coupee_ = false;  // the last chunk ended before its line did
};

// Walks the values of a description line.  The first word (the kind letter and anything
// glued to it) is skipped; values are separated by spaces only.  A token is cut at 79
// characters, and the rest of the line is then lost.
class Jetons {
  public:
    static constexpr std::size_t kLongueurMax = 79;

    // With `fin_au_saut`, the values end at the line feed (kinds D, E, Z); without it only at
    // the end of the line, so a line feed keeps yielding empty tokens (kinds I, L, S).
    Jetons(std::string_view ligne, bool fin_au_saut);

    // The next token, or false when the line has no more values.
    bool Suivant(std::string_view& jeton);
    // Whether the values ended at a token cut at kLongueurMax characters.
    bool Coupee() const { return coupee_; }

  private:
    std::string_view ligne_;
    std::size_t curseur_ = 0;
    bool fin_au_saut_;
    bool coupee_ = false;
};

// The C library's readings of a token: the longest numeric prefix, 0 without one.
double LireReel(std::string_view jeton);
int LireEntier(std::string_view jeton);

}  // namespace optic
