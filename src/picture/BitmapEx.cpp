#include "picture/BitmapEx.h"

#include "base/PictorError.h"

#include <cassert>

namespace pictor {

namespace {

void CheckFrame(const TFrame& frame, std::size_t index)
{
    const auto pixels = std::size_t(frame.Width) * std::size_t(frame.Height);
    if (frame.Width < 0 || frame.Height < 0 || frame.Pixels.size() != pixels * 3 ||
        (!frame.Alpha.empty() && frame.Alpha.size() != pixels))
        throw TPictorError("", "frame " + std::to_string(index) + " does not match its size " +
                                   std::to_string(frame.Width) + "x" + std::to_string(frame.Height));
}

} // namespace

TBitmapEx::TBitmapEx() = default;

TBitmapEx::TBitmapEx(int width, int height)
{
    if (width < 0 || height < 0)
        throw TPictorError("", "negative bitmap size");
    TFrame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Pixels.assign(std::size_t(width) * std::size_t(height) * 3, 0);
    Data_ = std::make_shared<TData>();
    Data_->Frames.push_back(std::move(frame));
}

const TBitmapEx::TData& TBitmapEx::Data() const
{
    static const TData empty;
    return Data_ ? *Data_ : empty;
}

void TBitmapEx::Detach()
{
    if (!Data_)
        Data_ = std::make_shared<TData>();
    else if (Data_.use_count() > 1)
        Data_ = std::make_shared<TData>(*Data_);
}

int TBitmapEx::Width() const
{
    return Data().Frames.empty() ? 0 : Data().Frames[0].Width;
}

int TBitmapEx::Height() const
{
    return Data().Frames.empty() ? 0 : Data().Frames[0].Height;
}

const std::uint8_t* TBitmapEx::ScanLine(int y) const
{
    assert(y >= 0 && y < Height());
    return Data_->Frames[0].Pixels.data() + std::size_t(y) * std::size_t(Stride());
}

std::uint8_t* TBitmapEx::ScanLine(int y)
{
    assert(y >= 0 && y < Height());
    Detach();
    return Data_->Frames[0].Pixels.data() + std::size_t(y) * std::size_t(Stride());
}

int TBitmapEx::FrameCount() const
{
    return int(Data().Frames.size());
}

const TFrame& TBitmapEx::Frame(int i) const
{
    return Data().Frames.at(std::size_t(i));
}

TFrame& TBitmapEx::MutableFrame(int i)
{
    Detach();
    return Data_->Frames.at(std::size_t(i));
}

void TBitmapEx::SetFrames(std::vector<TFrame> frames)
{
    for (std::size_t i = 0; i < frames.size(); ++i)
        CheckFrame(frames[i], i);
    // Not Detach(): the old frames are about to be dropped, so copying them would be wasted.
    if (!Data_ || Data_.use_count() > 1) {
        auto data = std::make_shared<TData>();
        data->Extras = Data().Extras;
        Data_ = std::move(data);
    }
    Data_->Frames = std::move(frames);
}

const TPictureExtras& TBitmapEx::Extras() const
{
    return Data().Extras;
}

void TBitmapEx::SetExtras(TPictureExtras extras)
{
    Detach();
    Data_->Extras = std::move(extras);
}

bool TBitmapEx::SharesPixelsWith(const TBitmapEx& other) const
{
    return Data_ && Data_ == other.Data_;
}

bool TBitmapEx::SamePixels(const TBitmapEx& other) const
{
    if (Data_ == other.Data_)
        return true;
    const auto& mine = Data().Frames;
    const auto& theirs = other.Data().Frames;
    if (mine.size() != theirs.size())
        return false;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const TFrame& a = mine[i];
        const TFrame& b = theirs[i];
        if (a.Width != b.Width || a.Height != b.Height || a.Left != b.Left || a.Top != b.Top ||
            a.Pixels != b.Pixels || a.Alpha != b.Alpha)
            return false;
    }
    return true;
}

} // namespace pictor
