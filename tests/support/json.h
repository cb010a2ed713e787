// Reading a JSON document strictly, for the tests and the fuzzer: valid UTF-8, well-formed
// escapes (no lone surrogate), numbers in the JSON grammar (no NaN or Infinity), nothing
// after the value.  nlohmann's parser checks all of that.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace optic::test {

using Json = nlohmann::json;

// The document, or nothing when the text is not exactly one JSON value (with `erreur` saying
// why).
inline std::optional<Json> LireJson(std::string_view texte, std::string* erreur = nullptr) {
    try {
        return Json::parse(texte);
    } catch (const Json::exception& e) {
        if (erreur) *erreur = e.what();
        return std::nullopt;
    }
}

// Calls f on every number of the value, depth first.
template <class F>
void PourChaqueNombre(const Json& v, F&& f) {
    if (v.is_number()) f(v.get<double>());
    if (v.is_structured()) {
        for (const Json& e : v) PourChaqueNombre(e, f);
    }
}

}  // namespace optic::test
