#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "output/nombre.h"

namespace optic {

// Writes one JSON document to a stream, value by value, indented by two spaces: commas,
// layout and escaping are its business, the order of the values the caller's.  Strings may
// hold any bytes: control characters are escaped, and every byte that is not part of valid
// UTF-8 becomes U+FFFD, so the document is valid whatever it is given.  Numbers are written
// with the fewest digits that read back as the same double; a number that is not finite is
// written null.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

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

    std::ostream& out_;
    std::vector<bool> empty_;  // per open container: nothing written in it yet
    bool after_key_ = false;
};

}  // namespace optic
