// Reading a JSON document strictly: the tests' (and the fuzzer's) check that what the program
// writes is valid JSON, and their way to look into it.  Raw bytes must be valid UTF-8, escapes
// well formed (no lone surrogate), numbers in the JSON grammar; nothing may follow the value.
#pragma once

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace optic::test {

struct Json {
    enum class Type { Null, Booleen, Nombre, Chaine, Tableau, Objet };
    Type type = Type::Null;
    bool booleen = false;
    double nombre = 0;
    std::string chaine;             // decoded, as UTF-8
    std::vector<Json> elements;     // of an array; of an object, its values
    std::vector<std::string> cles;  // of an object, its keys, in document order

    bool EstNull() const { return type == Type::Null; }
    const Json* Membre(std::string_view cle) const {
        for (std::size_t k = 0; k < cles.size(); ++k) {
            if (cles[k] == cle) return &elements[k];
        }
        return nullptr;
    }
    const Json& operator[](std::string_view cle) const {
        const Json* v = Membre(cle);
        if (!v) throw std::out_of_range("no key \"" + std::string(cle) + "\"");
        return *v;
    }
    const Json& operator[](std::size_t i) const { return elements.at(i); }
    std::size_t size() const { return elements.size(); }
    // Every number in the value, depth first.
    template <class F>
    void PourChaqueNombre(F&& f) const {
        if (type == Type::Nombre) f(nombre);
        for (const Json& e : elements) e.PourChaqueNombre(f);
    }
};

namespace detail {

class LecteurJson {
  public:
    explicit LecteurJson(std::string_view t) : t_(t) {}

    std::optional<Json> Document(std::string* erreur) {
        Json v;
        const bool ok = Valeur(v, 0) && (Blancs(), i_ == t_.size());
        if (!ok) {
            if (erreur) *erreur = "not JSON at byte " + std::to_string(i_);
            return std::nullopt;
        }
        return v;
    }

  private:
    void Blancs() {
        while (i_ < t_.size() &&
               (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r'))
            ++i_;
    }
    bool Mot(std::string_view m) {
        if (t_.substr(i_, m.size()) != m) return false;
        i_ += m.size();
        return true;
    }
    bool Valeur(Json& v, int profondeur) {
        if (profondeur > 64) return false;
        Blancs();
        if (i_ >= t_.size()) return false;
        const char c = t_[i_];
        if (c == '{') return Objet(v, profondeur);
        if (c == '[') return Tableau(v, profondeur);
        if (c == '"') {
            v.type = Json::Type::Chaine;
            return Chaine(v.chaine);
        }
        if (c == 't' || c == 'f') {
            v.type = Json::Type::Booleen;
            v.booleen = c == 't';
            return Mot(c == 't' ? "true" : "false");
        }
        if (c == 'n') return Mot("null");
        return Nombre(v);
    }
    bool Objet(Json& v, int profondeur) {
        v.type = Json::Type::Objet;
        ++i_;
        Blancs();
        if (i_ < t_.size() && t_[i_] == '}') return ++i_, true;
        for (;;) {
            Blancs();
            std::string cle;
            if (i_ >= t_.size() || t_[i_] != '"' || !Chaine(cle)) return false;
            Blancs();
            if (i_ >= t_.size() || t_[i_++] != ':') return false;
            Json membre;
            if (!Valeur(membre, profondeur + 1)) return false;
            v.cles.push_back(std::move(cle));
            v.elements.push_back(std::move(membre));
            Blancs();
            if (i_ >= t_.size()) return false;
            if (t_[i_] == '}') return ++i_, true;
            if (t_[i_++] != ',') return false;
        }
    }
    bool Tableau(Json& v, int profondeur) {
        v.type = Json::Type::Tableau;
        ++i_;
        Blancs();
        if (i_ < t_.size() && t_[i_] == ']') return ++i_, true;
        for (;;) {
            Json e;
            if (!Valeur(e, profondeur + 1)) return false;
            v.elements.push_back(std::move(e));
            Blancs();
            if (i_ >= t_.size()) return false;
            if (t_[i_] == ']') return ++i_, true;
            if (t_[i_++] != ',') return false;
        }
    }
    static bool Chiffre(char c) { return c >= '0' && c <= '9'; }
    bool Nombre(Json& v) {
        const std::size_t debut = i_;
        auto chiffres = [&] {
            const std::size_t d = i_;
            while (i_ < t_.size() && Chiffre(t_[i_])) ++i_;
            return i_ > d;
        };
        if (i_ < t_.size() && t_[i_] == '-') ++i_;
        if (i_ < t_.size() && t_[i_] == '0') {
            ++i_;
        } else if (!chiffres()) {
            return false;
        }
        if (i_ < t_.size() && t_[i_] == '.' && (++i_, !chiffres())) return false;
        if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
            ++i_;
            if (i_ < t_.size() && (t_[i_] == '+' || t_[i_] == '-')) ++i_;
            if (!chiffres()) return false;
        }
        v.type = Json::Type::Nombre;
        v.nombre = std::strtod(std::string(t_.substr(debut, i_ - debut)).c_str(), nullptr);
        return true;
    }
    static void EncoderUtf8(unsigned long u, std::string& s) {
        if (u < 0x80) {
            s += static_cast<char>(u);
        } else if (u < 0x800) {
            s += static_cast<char>(0xc0 | (u >> 6));
            s += static_cast<char>(0x80 | (u & 0x3f));
        } else if (u < 0x10000) {
            s += static_cast<char>(0xe0 | (u >> 12));
            s += static_cast<char>(0x80 | ((u >> 6) & 0x3f));
            s += static_cast<char>(0x80 | (u & 0x3f));
        } else {
            s += static_cast<char>(0xf0 | (u >> 18));
            s += static_cast<char>(0x80 | ((u >> 12) & 0x3f));
            s += static_cast<char>(0x80 | ((u >> 6) & 0x3f));
            s += static_cast<char>(0x80 | (u & 0x3f));
        }
    }
    bool Hex4(unsigned long& u) {
        if (t_.size() - i_ < 4) return false;
        u = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = t_[i_++];
            const int h = Chiffre(c)             ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (h < 0) return false;
            u = u * 16 + static_cast<unsigned long>(h);
        }
        return true;
    }
    // A raw multi-byte character: well-formed UTF-8 only.
    bool Utf8(std::string& s) {
        const auto o = [&](std::size_t k) { return static_cast<unsigned char>(t_[k]); };
        const unsigned char c = o(i_);
        std::size_t n;
        unsigned long u;
        if (c >= 0xc2 && c <= 0xdf) {
            n = 2, u = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            n = 3, u = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            n = 4, u = c & 0x07;
        } else {
            return false;
        }
        if (t_.size() - i_ < n) return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((o(i_ + k) & 0xc0) != 0x80) return false;
            u = (u << 6) | (o(i_ + k) & 0x3f);
        }
        const unsigned long min[] = {0, 0, 0x80, 0x800, 0x10000};
        if (u < min[n] || u > 0x10ffff || (u >= 0xd800 && u <= 0xdfff)) return false;
        s.append(t_.substr(i_, n));
        i_ += n;
        return true;
    }
    bool Chaine(std::string& s) {
        ++i_;  // the opening quote
        for (;;) {
            if (i_ >= t_.size()) return false;
            const unsigned char c = static_cast<unsigned char>(t_[i_]);
            if (c == '"') return ++i_, true;
            if (c < 0x20) return false;
            if (c >= 0x80) {
                if (!Utf8(s)) return false;
                continue;
            }
            ++i_;
            if (c != '\\') {
                s += static_cast<char>(c);
                continue;
            }
            if (i_ >= t_.size()) return false;
            const char e = t_[i_++];
            const std::string_view simples = "\"\\/bfnrt", valeurs = "\"\\/\b\f\n\r\t";
            if (const auto p = simples.find(e); p != std::string_view::npos) {
                s += valeurs[p];
                continue;
            }
            unsigned long u;
            if (e != 'u' || !Hex4(u)) return false;
            if (u >= 0xdc00 && u <= 0xdfff) return false;
            if (u >= 0xd800 && u <= 0xdbff) {
                unsigned long bas;
                if (!Mot("\\u") || !Hex4(bas) || bas < 0xdc00 || bas > 0xdfff) return false;
                u = 0x10000 + ((u - 0xd800) << 10) + (bas - 0xdc00);
            }
            EncoderUtf8(u, s);
        }
    }

    std::string_view t_;
    std::size_t i_ = 0;
};

}  // namespace detail

// The document, or nothing when the text is not exactly one JSON value (with `erreur` saying
// where it stops being one).
inline std::optional<Json> LireJson(std::string_view texte, std::string* erreur = nullptr) {
    return detail::LecteurJson(texte).Document(erreur);
}

}  // namespace optic::test
