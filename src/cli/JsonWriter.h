#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace pictor::cli {

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
    // Scalars written straight into the output, as the library would write them: a long list of small
    // records then costs no tree per record.
    void BoolMember(std::string_view key, bool value);
    void NumberMember(std::string_view key, std::int64_t value);
    void StringMember(std::string_view key, std::string_view text);

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
