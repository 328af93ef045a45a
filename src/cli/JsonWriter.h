#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pictor::cli {

// A member of an object whose members are all scalars, written whole by TJsonWriter::ScalarObject.
struct TJsonScalar {
    enum class TKind : unsigned char { Bool, Number, Text };
    std::string_view Key;
    TKind Kind = TKind::Number;
    std::int64_t Number = 0;  // the number, or the bool
    std::string_view Text;

    static TJsonScalar Bool(std::string_view key, bool value) { return {key, TKind::Bool, value, {}}; }
    static TJsonScalar Integer(std::string_view key, std::int64_t value) { return {key, TKind::Number, value, {}}; }
    static TJsonScalar String(std::string_view key, std::string_view text) { return {key, TKind::Text, 0, text}; }
};

// Writes JSON as it goes, laid out as nlohmann::json's dump(2) lays out the same document, so that a
// large document is never held as one tree: its small parts are nlohmann::json values, whose key order,
// numbers and escaping are the library's, and the containers around them are opened and closed here.
class TJsonWriter {
public:
    explicit TJsonWriter(std::ostream& out);
    ~TJsonWriter();
    TJsonWriter(const TJsonWriter&) = delete;
    TJsonWriter& operator=(const TJsonWriter&) = delete;

    void BeginObject() { Open(false); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open(true); }
    void EndArray() { Close(']'); }
    // Members of an object written as they go come in the order nlohmann::json keeps keys in.
    void Key(std::string_view key);
    void Value(const nlohmann::json& value);
    void Member(std::string_view key, const nlohmann::json& value)
    {
        Key(key);
        Value(value);
    }
    // An object of scalars, its members in key order, written straight into the output as the library
    // would write it: a long list of small records then costs a few appends per record.
    void ScalarObject(std::span<const TJsonScalar> members);

private:
    struct TLevel {
        bool Array = false;
        bool Filled = false;
        std::string LastKey;
    };

    // A value with a string that is not valid UTF-8, written part by part.
    void Walk(const nlohmann::json& value);
    void String(std::string_view text);
    void Open(bool array);
    void Close(char bracket);
    // Before a value: in an array, the separator and the line it starts; after a key, nothing.
    void BeforeValue();
    void NewLine();
    void Flush();

    // A scalar, or a key as a string, as the library writes it.
    void Scalar(const nlohmann::json& value);

    std::ostream& Out_;
    std::string Buffer_;
    // The library's own writer (the one basic_json::dump uses), kept for the writer's life so that a
    // value costs no set-up: it appends to Buffer_ at any indentation.
    nlohmann::detail::serializer<nlohmann::json> Serializer_;
    nlohmann::json Text_ = "";   // a key or part of a string, to hand to Serializer_
    std::vector<TLevel> Levels_; // the containers open
    bool AfterKey_ = false;
};

} // namespace pictor::cli
