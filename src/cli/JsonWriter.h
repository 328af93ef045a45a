#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

namespace pictor::cli {

// Writes JSON as it goes, laid out as nlohmann::json's dump(2) lays out the same document: a large
// document is never held as a tree. Keys, plain ASCII names, are written in the order given; give them
// sorted to match.
class TJsonWriter {
public:
    // level: the nesting level the first value starts at, so that a document can stand inside another.
    TJsonWriter(std::ostream& out, int level);
    ~TJsonWriter();
    TJsonWriter(const TJsonWriter&) = delete;
    TJsonWriter& operator=(const TJsonWriter&) = delete;

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);

    // text: UTF-8; a byte that is not part of valid UTF-8 is written as \udcXX (Python's os.fsdecode).
    void String(std::string_view text);
    void Integer(std::int64_t value);
    void Double(double value);
    void Bool(bool value) { Raw(value ? "true" : "false"); }

    // The members that are one plain value.
    template <class T> void Member(std::string_view key, const T& value)
    {
        Key(key);
        Value(value);
    }

private:
    void Value(std::string_view text) { String(text); }
    void Value(const std::string& text) { String(text); }
    void Value(const char* text) { String(text); }
    void Value(bool value) { Bool(value); }
    void Value(double value) { Double(value); }
    template <class T> void Value(T value) requires std::is_integral_v<T> { Integer(std::int64_t(value)); }

    void Open(char bracket);
    void Close(char bracket);
    // Before a value: in an array, the separator and the line it starts; after a key, nothing.
    void BeforeValue();
    void NewLine(int level);
    void Raw(std::string_view text);
    void Flush();

    std::ostream& Out_;
    std::string Buffer_;
    int Level_;
    std::uint64_t Filled_ = 0;  // by level: the container open there holds something
    std::uint64_t InArray_ = 0; // by level: the container open there is an array
    bool AfterKey_ = false;
};

} // namespace pictor::cli
