#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace optic {

// Where a message comes from: the line of the description it is about (1 = the first line,
// as an editor counts; 0 when it is about no line) and what is wrong and what was expected,
// in plain words on one line ("lens: radius1 \"nan\" is not a finite number; expected ...").
struct Lieu {
    int ligne = 0;
    std::string explication;
};

// The one sink for everything the run reports.  The message is exactly what the program
// prints on standard output; the place says where and why, for whoever shows more.
class Rapport {
  public:
    virtual ~Rapport() = default;
    virtual void Message(std::string_view texte, const Lieu& lieu) = 0;
    // Everything reported so far has reached its destination.
    virtual void Vider() {}
};

// Prints the messages on a stream, as the program always has; with `explications`, each one
// that comes with an explanation is followed there by "FILE:LINE: explanation", or by
// "optic: explanation" when it is about no line (flushed in that order).
class RapportFlux : public Rapport {
  public:
    explicit RapportFlux(std::ostream& sortie, std::ostream* explications = nullptr,
                         std::string fichier = {})
        : sortie_(sortie), explications_(explications), fichier_(std::move(fichier)) {}
    void Message(std::string_view texte, const Lieu& lieu) override;
    void Vider() override { sortie_.flush(); }

  private:
    std::ostream& sortie_;
    std::ostream* explications_;
    std::string fichier_;
};

// Keeps every message with its place, in order, for whoever shows them afterwards.
class RapportMemoire : public Rapport {
  public:
    struct Entree {
        std::string texte;
        Lieu lieu;
    };
    void Message(std::string_view texte, const Lieu& lieu) override {
        entrees_.push_back({std::string(texte), lieu});
    }
    const std::vector<Entree>& Entrees() const { return entrees_; }
    // The messages as the program prints them.
    std::string Texte() const;

  private:
    std::vector<Entree> entrees_;
};

// Passes every message on to two sinks, in this order.
class RapportDouble : public Rapport {
  public:
    RapportDouble(Rapport& premier, Rapport& second) : premier_(premier), second_(second) {}
    void Message(std::string_view texte, const Lieu& lieu) override {
        premier_.Message(texte, lieu);
        second_.Message(texte, lieu);
    }
    void Vider() override {
        premier_.Vider();
        second_.Vider();
    }

  private:
    Rapport& premier_;
    Rapport& second_;
};

}  // namespace optic
