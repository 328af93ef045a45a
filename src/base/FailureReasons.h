#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pictor {

// Why a file is refused, in the words the user reads (Japanese, like the rest of Pictor). Every reason
// the engine gives for a file it cannot read, decode or write comes from here, so that none is left in
// English or in the words of the locale.

// A picture or sheet that is not there, and one that is there but cannot be used.
inline constexpr std::string_view MissingText = "見つかりません";
inline constexpr std::string_view UnreadableText = "読み込めません";

// An errno value as text, the same whatever the locale; an unknown one is named by its number.
std::string SystemErrorText(int error);
// A TPictorError naming path and the errno value's text.
[[noreturn]] void ThrowErrno(const std::string& path, int error);
// A device, a FIFO or a socket where a file was expected.
std::string NotRegularFileText();
// Sizes with the limit they exceed.
std::string FileTooLargeText(std::uintmax_t bytes, std::uintmax_t limit);
std::string PictureTooLargeText(long long width, long long height, long long limitPixels);
std::string AnimationTooLargeText(long long pixels, long long limitPixels);

enum class TDecodeFailure {
    NotThisFormat,  // the file does not start as one of its format does
    Truncated,      // it ends before the picture does
    Corrupt,        // what it holds cannot be decoded
    Unsupported,    // a valid kind of the format that is not read here
    NoPicture,      // it holds no pixels
};
// format: the format's name ("PNG", ...); detail: what the reason adds, may be empty.
std::string DecodeFailureText(std::string_view format, TDecodeFailure failure, std::string_view detail = {});
// A picture that cannot be written in a format, and why.
std::string EncodeFailureText(std::string_view format, std::string_view detail);
std::string NoPictureToWriteText();

} // namespace pictor
