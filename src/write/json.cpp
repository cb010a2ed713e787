#include "write/json.h"

#include <charconv>
#include <cmath>

namespace optic {

namespace {

// The length of the valid UTF-8 sequence starting at s[i], or 0 when there is none (a stray
// continuation byte, a truncated or overlong sequence, a surrogate, a code point past
// U+10FFFF).
std::size_t SequenceUtf8(std::string_view s, std::size_t i) {
    const auto octet = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = octet(i);
    std::size_t longueur;
    unsigned char min = 0x80, max = 0xbf;  // allowed range of the second byte
    if (c >= 0xc2 && c <= 0xdf) {
        longueur = 2;
    } else if (c >= 0xe0 && c <= 0xef) {
        longueur = 3;
        if (c == 0xe0) min = 0xa0;
        if (c == 0xed) max = 0x9f;
    } else if (c >= 0xf0 && c <= 0xf4) {
        longueur = 4;
        if (c == 0xf0) min = 0x90;
        if (c == 0xf4) max = 0x8f;
    } else {
        return 0;
    }
    if (s.size() - i < longueur) return 0;
    if (octet(i + 1) < min || octet(i + 1) > max) return 0;
    for (std::size_t k = 2; k < longueur; ++k) {
        if (octet(i + k) < 0x80 || octet(i + k) > 0xbf) return 0;
    }
    return longueur;
}

}  // namespace

// Text is sent to the stream once this much has gathered: a stream's writing, character by
// character, cost a report most of its time in WebAssembly.
constexpr std::size_t kMorceau = std::size_t{64} << 10;

void JsonWriter::Vider() {
    if (texte_.empty()) return;
    out_.write(texte_.data(), static_cast<std::streamsize>(texte_.size()));
    texte_.clear();
}

JsonWriter& JsonWriter::Ecrit() {
    if (empty_.empty()) Vider();  // the document is whole
    return *this;
}

void JsonWriter::NewLine() {
    if (compacte_) return;
    texte_ += '\n';
    texte_.append(2 * empty_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (texte_.size() >= kMorceau) Vider();
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (empty_.empty()) return;  // the document itself
    if (!empty_.back()) texte_ += ',';
    empty_.back() = false;
    NewLine();
}

JsonWriter& JsonWriter::Open(char bracket) {
    BeforeValue();
    texte_ += bracket;
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    const bool empty = empty_.back();
    empty_.pop_back();
    if (!empty) NewLine();
    texte_ += bracket;
    return Ecrit();
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    texte_ += compacte_ ? ":" : ": ";
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    Quoted(text);
    return Ecrit();
}

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    char texte[32];
    texte_.append(texte, Shortest(value, texte));
    return Ecrit();
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    char texte[24];
    const auto fin = std::to_chars(texte, texte + sizeof texte, value).ptr;
    texte_.append(texte, fin);
    return Ecrit();
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    texte_ += "null";
    return Ecrit();
}

JsonWriter& JsonWriter::Boolean(bool value) {
    BeforeValue();
    texte_ += value ? "true" : "false";
    return Ecrit();
}

void JsonWriter::Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    texte_ += '"';
    for (std::size_t i = 0; i < text.size();) {
        // A run of characters written as they are, at once.
        std::size_t fin = i;
        while (fin < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[fin]);
            if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') break;
            ++fin;
        }
        texte_.append(text.data() + i, fin - i);
        i = fin;
        if (i == text.size()) break;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = SequenceUtf8(text, i);
            if (n == 0) {
                texte_ += "\\ufffd";
                ++i;
            } else {
                texte_.append(text.data() + i, n);
                i += n;
            }
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                texte_ += "\\\"";
                break;
            case '\\':
                texte_ += "\\\\";
                break;
            case '\n':
                texte_ += "\\n";
                break;
            case '\r':
                texte_ += "\\r";
                break;
            case '\t':
                texte_ += "\\t";
                break;
            default:  // the other control characters, and DEL
                texte_ += "\\u00";
                texte_ += kHex[c >> 4];
                texte_ += kHex[c & 0xf];
        }
    }
    texte_ += '"';
}

}  // namespace optic
