#include "output/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void JsonWriter::NewLine() {
    out_ << '\n';
    for (std::size_t k = 0; k < empty_.size(); ++k) out_ << "  ";
}

void JsonWriter::BeforeValue() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (empty_.empty()) return;  // the document itself
    if (!empty_.back()) out_ << ',';
    empty_.back() = false;
    NewLine();
}

JsonWriter& JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ << bracket;
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    const bool empty = empty_.back();
    empty_.pop_back();
    if (!empty) NewLine();
    out_ << bracket;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    out_ << ": ";
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    Quoted(text);
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    out_ << Shortest(value);
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    char texte[24];
    const auto fin = std::to_chars(texte, texte + sizeof texte, value).ptr;
    out_.write(texte, fin - texte);
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ << "null";
    return *this;
}

JsonWriter& JsonWriter::Boolean(bool value) {
    BeforeValue();
    out_ << (value ? "true" : "false");
    return *this;
}

void JsonWriter::Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_ << '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = SequenceUtf8(text, i);
            if (n == 0) {
                out_ << "\\ufffd";
                ++i;
            } else {
                out_.write(text.data() + i, static_cast<std::streamsize>(n));
                i += n;
            }
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out_ << "\\\"";
                break;
            case '\\':
                out_ << "\\\\";
                break;
            case '\n':
                out_ << "\\n";
                break;
            case '\r':
                out_ << "\\r";
                break;
            case '\t':
                out_ << "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    out_ << "\\u00" << kHex[c >> 4] << kHex[c & 0xf];
                } else {
                    out_ << static_cast<char>(c);
                }
        }
    }
    out_ << '"';
}

}  // namespace optic
