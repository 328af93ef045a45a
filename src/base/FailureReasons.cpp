#include "base/FailureReasons.h"

#include "base/PictorError.h"

#include <cerrno>

namespace pictor {

namespace {

struct TErrnoText {
    int Error;
    std::string_view Text;
};

// The errors a file operation meets in practice. strerror would answer in the locale's language, or
// in English under the C locale that a script or a service runs in.
constexpr TErrnoText ErrnoTexts[] = {
    {ENOENT, MissingText},
    {ENOTDIR, "パスの途中がディレクトリではありません"},
    {EISDIR, "ディレクトリです"},
    {EACCES, "アクセスが許可されていません"},
    {EPERM, "操作が許可されていません"},
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量が上限に達しています"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {EFBIG, "ファイルが大きすぎます"},
    {ENAMETOOLONG, "名前が長すぎます"},
    {ELOOP, "シンボリックリンクをたどりきれません（循環しているか、深すぎます）"},
    {EEXIST, "すでに存在します"},
    {ENOTEMPTY, "ディレクトリが空ではありません"},
    {EXDEV, "別のファイルシステムへは移せません"},
    {EBUSY, "使用中です"},
    {ETXTBSY, "使用中です"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "開いているファイルが多すぎます"},
    {ENOMEM, "メモリが足りません"},
    {EIO, "入出力エラーが起きました"},
    {ENXIO, "デバイスがありません"},
    {ENODEV, "デバイスがありません"},
    {EAGAIN, "一時的に使えません"},
    {EINTR, "中断されました"},
    {EINVAL, "この操作には使えません"},
    {EPIPE, "書き込み先が閉じられました"},
    {ESTALE, "ファイルの参照が古くなっています（ネットワークファイルシステム）"},
    {EOVERFLOW, "大きすぎて扱えません"},
    {EBADF, "ファイル記述子が無効です"},
};

std::string_view FormatDescription(TDecodeFailure failure)
{
    switch (failure) {
    case TDecodeFailure::NotThisFormat: return " ファイルではありません";
    case TDecodeFailure::Truncated: return " ファイルが途中で切れています";
    case TDecodeFailure::Corrupt: return " ファイルとして解読できません";
    case TDecodeFailure::Unsupported: return " ファイルのこの形式には対応していません";
    case TDecodeFailure::NoPicture: return " ファイルに画像がありません";
    }
    return {};
}

} // namespace

std::string SystemErrorText(int error)
{
    for (const TErrnoText& known : ErrnoTexts)
        if (known.Error == error) return std::string(known.Text);
    return "システムエラーです（errno " + std::to_string(error) + "）";
}

std::string NotRegularFileText()
{
    return "通常のファイルではありません（デバイス、FIFO、ソケットなど）";
}

std::string FileTooLargeText(std::uintmax_t bytes, std::uintmax_t limit)
{
    return "大きすぎます（" + std::to_string(bytes) + " バイト、上限は " + std::to_string(limit) + " バイト）";
}

std::string PictureTooLargeText(long long width, long long height, long long limitPixels)
{
    return "大きすぎます（" + std::to_string(width) + "×" + std::to_string(height) + " ピクセル、上限は " +
           std::to_string(limitPixels) + " ピクセル）";
}

std::string AnimationTooLargeText(long long pixels, long long limitPixels)
{
    return "大きすぎます（全フレームで " + std::to_string(pixels) + " ピクセル、上限は " + std::to_string(limitPixels) +
           " ピクセル）";
}

std::string DecodeFailureText(std::string_view format, TDecodeFailure failure, std::string_view detail)
{
    std::string text(format);
    text += FormatDescription(failure);
    if (!detail.empty()) text.append("（").append(detail).append("）");
    return text;
}

std::string EncodeFailureText(std::string_view format, std::string_view detail)
{
    std::string text(format);
    return text.append(" ファイルに書き出せません（").append(detail).append("）");
}

std::string NoPictureToWriteText()
{
    return "書き出す画像がありません";
}

void ThrowErrno(const std::string& path, int error)
{
    throw TPictorError(path, SystemErrorText(error));
}

} // namespace pictor
