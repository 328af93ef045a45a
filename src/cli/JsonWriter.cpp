#include "cli/JsonWriter.h"

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
    if (IsPlain(text)) {
        Buffer_ += '"';
        Buffer_ += text;
        Buffer_ += '"';
    } else {
        // Escapes and bytes that are no UTF-8 are rare: the library's own rules, one string at a time.
        Buffer_ += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
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
