#include "cli/JsonWriter.h"

#include "encoding/Utf8.h"

#include <nlohmann/json.hpp>

#include <charconv>

namespace pictor::cli {

namespace {

constexpr std::size_t FlushAt = std::size_t(1) << 16;

// Text that JSON holds as it is: printable ASCII other than a quote or a backslash.
bool IsPlain(std::string_view text)
{
    for (const char c : text)
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
    return true;
}

// text as a JSON string's content, escaped as nlohmann::json escapes it; a byte that is not part of valid
// UTF-8 becomes the escape \udcXX, as Python's os.fsdecode gives it, so that os.fsencode gives back the
// bytes of a file name that is no UTF-8.
void AppendEscaped(std::string& out, std::string_view text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c >= 0x80) {
            const auto* start = reinterpret_cast<const char*>(p);
            if (utf8::Decode(p, end) < 0) out.append("\\udc").append(1, Hex[c >> 4]).append(1, Hex[c & 15]);
            else out.append(start, reinterpret_cast<const char*>(p));
            continue;
        }
        ++p;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) out.append("\\u00").append(1, Hex[c >> 4]).append(1, Hex[c & 15]);
            else out += char(c);
        }
    }
}

} // namespace

TJsonWriter::TJsonWriter(std::ostream& out, int level) : Out_(out), Level_(level)
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

void TJsonWriter::Raw(std::string_view text)
{
    BeforeValue();
    Buffer_ += text;
    Flush();
}

void TJsonWriter::NewLine(int level)
{
    // A line break and the indentation of the deepest levels a document has, appended in one go.
    static constexpr std::string_view Breaks = "\n                                ";
    const std::size_t length = 1 + 2 * std::size_t(level);
    if (length <= Breaks.size()) {
        Buffer_ += Breaks.substr(0, length);
    } else {
        Buffer_ += Breaks;
        Buffer_.append(length - Breaks.size(), ' ');
    }
}

void TJsonWriter::BeforeValue()
{
    if (AfterKey_) {
        AfterKey_ = false;
        return;
    }
    const std::uint64_t bit = std::uint64_t(1) << Level_;
    if (!(InArray_ & bit)) return; // the document itself
    if (Filled_ & bit) Buffer_ += ',';
    Filled_ |= bit;
    NewLine(Level_);
}

void TJsonWriter::Open(char bracket)
{
    BeforeValue();
    Buffer_ += bracket;
    ++Level_;
    const std::uint64_t bit = std::uint64_t(1) << Level_;
    Filled_ &= ~bit;
    if (bracket == '[')
        InArray_ |= bit;
    else
        InArray_ &= ~bit;
}

void TJsonWriter::Close(char bracket)
{
    const bool filled = Filled_ & (std::uint64_t(1) << Level_);
    --Level_;
    if (filled) NewLine(Level_);
    Buffer_ += bracket;
    Flush();
}

void TJsonWriter::Key(std::string_view key)
{
    const std::uint64_t bit = std::uint64_t(1) << Level_;
    if (Filled_ & bit) Buffer_ += ',';
    Filled_ |= bit;
    NewLine(Level_);
    Buffer_ += '"';
    Buffer_ += key;
    Buffer_ += "\": ";
    AfterKey_ = true;
}

void TJsonWriter::String(std::string_view text)
{
    BeforeValue();
    Buffer_ += '"';
    if (IsPlain(text))
        Buffer_ += text;
    else
        AppendEscaped(Buffer_, text);
    Buffer_ += '"';
    Flush();
}

void TJsonWriter::Integer(std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Raw(std::string_view(digits, std::size_t(end - digits)));
}

void TJsonWriter::Double(double value)
{
    Raw(nlohmann::json(value).dump());
}

} // namespace pictor::cli
