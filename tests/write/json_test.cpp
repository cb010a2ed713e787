// The JSON writer gives valid JSON whatever bytes and numbers it is handed, and they read
// back as given (strings that are not UTF-8 with U+FFFD in place of each stray byte).
#include "write/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>

#include "support/json.h"

namespace optic::test {
namespace {

const std::string kRemplacement = "\xef\xbf\xbd";  // U+FFFD

// The document as the stream holds it once the last value is written, the writer still
// there.
std::string Document(const std::function<void(JsonWriter&)>& ecrire,
                     MiseEnPage mise = MiseEnPage::Indentee) {
    std::ostringstream s;
    JsonWriter json(s, mise);
    ecrire(json);
    return s.str();
}

TEST(Json, ChainesDeTousLesOctets) {
    std::string controles;
    for (int c = 1; c < 0x20; ++c) controles += static_cast<char>(c);
    controles += '\x7f';
    // What, the string given, the string read back.
    const std::tuple<const char*, std::string, std::string> cas[] = {
        {"quote and backslash", "a \"b\" c\\d", "a \"b\" c\\d"},
        {"every control character", controles, controles},
        {"a NUL byte", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"two-byte UTF-8", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
        {"four-byte UTF-8", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
        {"U+FFFF and U+10FFFF", "\xef\xbf\xbf\xf4\x8f\xbf\xbf", "\xef\xbf\xbf\xf4\x8f\xbf\xbf"},
        {"a Latin-1 byte", "b\xe9nch.txt", "b" + kRemplacement + "nch.txt"},
        {"a stray continuation byte", "\x80x", kRemplacement + "x"},
        {"a truncated sequence before ASCII", "\xe2\x82x", kRemplacement + kRemplacement + "x"},
        {"an overlong slash", "\xc0\xaf", kRemplacement + kRemplacement},
        {"a UTF-16 surrogate", "\xed\xa0\x80", kRemplacement + kRemplacement + kRemplacement},
        {"past U+10FFFF", "\xf4\x90\x80\x80",
         kRemplacement + kRemplacement + kRemplacement + kRemplacement},
        {"bytes F5 to FF", "\xf5\xff", kRemplacement + kRemplacement},
    };
    for (const auto& [nom, entree, lue] : cas) {
        SCOPED_TRACE(nom);
        const std::string texte = Document([&](JsonWriter& j) { j.String(entree); });
        std::string erreur;
        const auto lu = LireJson(texte, &erreur);
        ASSERT_TRUE(lu) << erreur << ": " << texte;
        EXPECT_EQ(lu->get<std::string>(), lue);
        // Nothing below a space reaches the document as it is.
        for (const char ch : texte) EXPECT_GE(static_cast<unsigned char>(ch), 0x20);
    }
}

// The digits are the number formatter's (tested on its own); here what JSON adds: no NaN or
// infinity, and every number text reads back to the very same double, sign of zero included.
TEST(Json, NombresRelusAuBitPres) {
    const double inf = std::numeric_limits<double>::infinity();
    // A number, and its text as written.
    const std::pair<double, const char*> cas[] = {
        {-0.0, "-0"},       {486.1, "486.1"},       {1e17, "1e+17"}, {1e-5, "1e-05"},
        {5e-324, "5e-324"}, {std::nan(""), "null"}, {inf, "null"},   {-inf, "null"}};
    for (const auto& [valeur, attendu] : cas) {
        const std::string texte = Document([&](JsonWriter& j) { j.Number(valeur); });
        EXPECT_EQ(texte, attendu);
        const auto lu = LireJson(texte);
        ASSERT_TRUE(lu);
        const double relu = std::strtod(texte.c_str(), nullptr);
        EXPECT_TRUE(std::isfinite(valeur)
                        ? std::memcmp(&relu, &valeur, sizeof(double)) == 0 && lu->is_number()
                        : lu->is_null());
    }
    EXPECT_EQ(Document([](JsonWriter& j) { j.Integer(std::numeric_limits<std::int64_t>::min()); }),
              "-9223372036854775808");
}

// The same document laid out for people and for a program.  (A document of megabytes, which
// leaves the writer in pieces: the hostile tests' million lines.)
TEST(Json, MisesEnPage) {
    const auto ecrire = [](JsonWriter& j) {
        j.BeginObject().Key("a").BeginArray().Number(1.5).String("x\"y").EndArray();
        j.Key("b").BeginObject().EndObject().Key("c").BeginArray().EndArray();
        j.Key("d").Boolean(true).Key("e").Null().EndObject();
    };
    EXPECT_EQ(Document(ecrire),
              "{\n  \"a\": [\n    1.5,\n    \"x\\\"y\"\n  ],\n  \"b\": {},\n  \"c\": [],\n"
              "  \"d\": true,\n  \"e\": null\n}");
    EXPECT_EQ(Document(ecrire, MiseEnPage::Compacte),
              "{\"a\":[1.5,\"x\\\"y\"],\"b\":{},\"c\":[],\"d\":true,\"e\":null}");
}

}  // namespace
}  // namespace optic::test
