#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "write/nombre.h"

namespace optic {

// How a JSON document is laid out: indented by two spaces, for people, or with no space at
// all, for a program that parses it at once (the web engine's reports).
enum class MiseEnPage { Indentee, Compacte };

// Writes one JSON document to a stream, value by value: commas, layout and escaping are its
// business, the order of the values the caller's.  Strings may hold any bytes: control
// characters are escaped, and every byte that is not part of valid UTF-8 becomes U+FFFD, so
// the document is valid whatever it is given.  Numbers are written with the fewest digits
// that read back as the same double; a number that is not finite is written null.  The text
// goes out in large pieces, the last when the document is closed (or the writer destroyed).
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out, MiseEnPage mise = MiseEnPage::Indentee)
        : out_(out), compacte_(mise == MiseEnPage::Compacte) {}
    ~JsonWriter() { Vider(); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }
    // The key of the next value of the object being written.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(double value);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Null();
    JsonWriter& Boolean(bool value);

  private:
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);
    void BeforeValue();
    void NewLine();
    void Quoted(std::string_view text);
    // Sends the text written so far to the stream.
    void Vider();
    // A value written: the document is sent once whole.
    JsonWriter& Ecrit();

    std::ostream& out_;
    bool compacte_;
    std::string texte_;        // written, not yet sent
    std::vector<bool> empty_;  // per open container: nothing written in it yet
    bool after_key_ = false;
};

}  // namespace optic
