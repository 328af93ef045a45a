#include "cli/JsonWriter.h"

#include "encoding/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace pictor::cli {

namespace {

constexpr std::size_t FlushAt = std::size_t(1) << 16;
// Far deeper than any document written here: more is a fault of the writing code.
constexpr std::size_t MaxNesting = 32;

bool IsUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end)
        if (utf8::Decode(p, end) < 0) return false;
    return true;
}

// Whether every string value in value is valid UTF-8; throws when value nests deeper than `room`.
bool CheckedUtf8(const nlohmann::json& value, std::size_t room)
{
    if (value.is_string()) return IsUtf8(value.get_ref<const std::string&>());
    if (!value.is_structured()) return true;
    if (room == 0) throw std::logic_error("JSON nested too deep");
    bool utf8 = true;
    for (const nlohmann::json& member : value) utf8 = CheckedUtf8(member, room - 1) && utf8;
    return utf8;
}

// Text the library would write between quotes as it is: printable ASCII without a quote or backslash.
constexpr std::array<bool, 256> Unescaped = [] {
    std::array<bool, 256> plain{};
    for (int b = 0x20; b < 0x80; ++b) plain[std::size_t(b)] = b != '"' && b != '\\';
    return plain;
}();
bool NeedsNoEscape(std::string_view text)
{
    for (const char c : text)
        if (!Unescaped[static_cast<unsigned char>(c)]) return false;
    return true;
}

} // namespace

TJsonWriter::TJsonWriter(std::ostream& out)
    : Out_(out), Serializer_(nlohmann::detail::output_adapter<char>(Buffer_), ' ')
{
    Buffer_.reserve(FlushAt + 4096);
}

TJsonWriter::~TJsonWriter()
{
    Out_.write(Buffer_.data(), std::streamsize(Buffer_.size()));
}

void TJsonWriter::Flush()
{
    if (Buffer_.size() < FlushAt) return;
    Out_.write(Buffer_.data(), std::streamsize(Buffer_.size()));
    Buffer_.clear();
}

void TJsonWriter::NewLine()
{
    Buffer_ += '\n';
    Buffer_.append(2 * Levels_.size(), ' ');
}

void TJsonWriter::BeforeValue()
{
    if (std::exchange(AfterKey_, false) || Levels_.empty()) return;
    TLevel& level = Levels_.back();
    if (!level.Array) throw std::logic_error("JSON: a value in an object without a key");
    if (std::exchange(level.Filled, true)) Buffer_ += ',';
    NewLine();
}

void TJsonWriter::Open(bool array)
{
    if (Levels_.size() == MaxNesting) throw std::logic_error("JSON nested too deep");
    BeforeValue();
    Buffer_ += array ? '[' : '{';
    Levels_.push_back({array, false, {}});
}

void TJsonWriter::Close(char bracket)
{
    if (Levels_.empty() || Levels_.back().Array != (bracket == ']')) throw std::logic_error("JSON: unbalanced close");
    const bool filled = Levels_.back().Filled;
    Levels_.pop_back();
    if (filled) NewLine();
    Buffer_ += bracket;
    Flush();
}

void TJsonWriter::Key(std::string_view key)
{
    if (Levels_.empty() || Levels_.back().Array || AfterKey_) throw std::logic_error("JSON: a key outside an object");
    TLevel& level = Levels_.back();
    if (level.Filled && key <= level.LastKey) throw std::logic_error("JSON: keys out of order");
    if (std::exchange(level.Filled, true)) Buffer_ += ',';
    level.LastKey = key;
    NewLine();
    if (NeedsNoEscape(key)) {
        Buffer_ += '"';
        Buffer_ += key;
        Buffer_ += '"';
    } else {
        Text_.get_ref<std::string&>().assign(key);
        Scalar(Text_);
    }
    Buffer_ += ": ";
    AfterKey_ = true;
}

void TJsonWriter::Value(const nlohmann::json& value)
{
    if (!CheckedUtf8(value, MaxNesting - Levels_.size())) {
        Walk(value);
        return;
    }
    BeforeValue();
    Serializer_.dump(value, true, false, 2, unsigned(2 * Levels_.size()));
    Flush();
}

void TJsonWriter::ScalarObject(std::span<const TJsonScalar> members)
{
    BeforeValue();
    if (members.empty()) {
        Buffer_ += "{}";
        Flush();
        return;
    }
    constexpr std::size_t MaxKey = 32;
    const std::size_t indent = 2 * (Levels_.size() + 1);
    if (Levels_.size() + 1 >= MaxNesting) throw std::logic_error("JSON nested too deep");
    // One member's line up to its value, and the value too unless it is text: the indent, a key and a
    // number all fit.
    char line[2 + 2 * MaxNesting + MaxKey + 4 + 24];
    for (std::size_t m = 0; m < members.size(); ++m) {
        const TJsonScalar& member = members[m];
        if (m > 0 && member.Key <= members[m - 1].Key) throw std::logic_error("JSON: keys out of order");
        if (member.Key.size() > MaxKey || !NeedsNoEscape(member.Key)) throw std::logic_error("JSON: a key to escape");
        char* p = line;
        *p++ = m == 0 ? '{' : ',';
        *p++ = '\n';
        p = std::fill_n(p, indent, ' ');
        *p++ = '"';
        p = std::copy(member.Key.begin(), member.Key.end(), p);
        p = std::copy_n("\": ", 3, p);
        switch (member.Kind) {
        case TJsonScalar::TKind::Bool: p = std::copy_n(member.Number ? "true" : "false", member.Number ? 4 : 5, p); break;
        case TJsonScalar::TKind::Number: p = std::to_chars(p, std::end(line), member.Number).ptr; break;
        case TJsonScalar::TKind::Text:
            Buffer_.append(line, std::size_t(p - line));
            p = line;
            if (NeedsNoEscape(member.Text)) {
                Buffer_ += '"';
                Buffer_ += member.Text;
                Buffer_ += '"';
            } else {
                AfterKey_ = true;
                String(member.Text);
            }
            break;
        }
        Buffer_.append(line, std::size_t(p - line));
    }
    Buffer_ += '\n';
    Buffer_.append(indent - 2, ' ');
    Buffer_ += '}';
    Flush();
}

void TJsonWriter::Walk(const nlohmann::json& value)
{
    if (value.is_object()) {
        BeginObject();
        for (const auto& [key, member] : value.items()) {
            Key(key);
            Walk(member);
        }
        EndObject();
    } else if (value.is_array()) {
        BeginArray();
        for (const nlohmann::json& element : value) Walk(element);
        EndArray();
    } else if (value.is_string()) {
        String(value.get_ref<const std::string&>());
    } else {
        BeforeValue();
        Scalar(value);
        Flush();
    }
}

void TJsonWriter::Scalar(const nlohmann::json& value)
{
    Serializer_.dump(value, false, false, 0);
}

void TJsonWriter::String(std::string_view text)
{
    // nlohmann::json cannot write a byte that is not part of valid UTF-8 as the escape \udcXX that
    // Python's os.fsdecode gives it (os.fsencode then gives back the bytes of a file name that is no
    // UTF-8): those bytes are written here, and the valid runs between them by the library.
    static constexpr char Hex[] = "0123456789abcdef";
    BeforeValue();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    const auto* run = p;
    const auto appendRun = [&](const unsigned char* to) {
        Text_.get_ref<std::string&>().assign(reinterpret_cast<const char*>(run), std::size_t(to - run));
        const std::size_t quote = Buffer_.size();
        Scalar(Text_);
        Buffer_.erase(quote, 1); // the quotes around the run
        Buffer_.pop_back();
    };
    Buffer_ += '"';
    while (p < end) {
        const auto* at = p;
        if (utf8::Decode(p, end) >= 0) continue;
        appendRun(at);
        Buffer_.append("\\udc").append(1, Hex[*at >> 4]).append(1, Hex[*at & 15]);
        run = p;
    }
    appendRun(end);
    Buffer_ += '"';
    Flush();
}

} // namespace pictor::cli
