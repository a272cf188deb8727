#include "extctrls.h"

#include <cstring>

namespace {

// Picture data in form files: the graphic's class name as a short string, then for a bitmap
// its byte count and its .bmp file.
std::vector<std::uint8_t> BitmapFileFromPictureData(const std::vector<std::uint8_t>& data)
{
    static const char kClassName[] = "TBitmap";
    const std::size_t name_length = sizeof kClassName - 1;
    if (data.size() < 1 + name_length + 4 || data[0] != name_length ||
        std::memcmp(&data[1], kClassName, name_length) != 0)
        throw Exception("Picture data is not a TBitmap");
    const std::size_t at = 1 + name_length;
    const std::uint32_t size =
        data[at] | data[at + 1] << 8 | data[at + 2] << 16 | std::uint32_t(data[at + 3]) << 24;
    if (size != data.size() - at - 4)
        throw Exception("Picture data has a wrong length");
    return {data.begin() + at + 4, data.end()};
}

unsigned IntervalValue(const FormValue& value)
{
    const int interval = value.AsInteger();
    if (interval < 0)
        throw Exception("Invalid property value: a negative interval");
    return static_cast<unsigned>(interval);
}

}  // namespace

bool TPanel::SetProperty(const std::string& name, const FormValue& value)
{
    if (name != "BevelOuter")
        return TWinControl::SetProperty(name, value);
    bevel_outer_ = value.AsEnum<TBevelCut>(
        {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}});
    return true;
}

void TPanel::Paint(TCanvas& canvas)
{
    TRect inside{0, 0, Width(), Height()};
    if (bevel_outer_ != bvNone) {
        const bool lowered = bevel_outer_ == bvLowered;
        Frame3D(canvas, inside, lowered ? clBtnShadow : clBtnHighlight,
                lowered ? clBtnHighlight : clBtnShadow);
        inside = {1, 1, Width() - 1, Height() - 1};
    }
    canvas.TextRect(inside, Caption(), Font(), Enabled() ? Font().Color : clGrayText,
                    TTextLayout::Centered);
}

bool TBevel::SetProperty(const std::string& name, const FormValue& value)
{
    if (name == "Shape")
        shape_ = value.AsEnum<TBevelShape>({{"bsBox", bsBox}, {"bsFrame", bsFrame}});
    else if (name == "Style")
        style_ = value.AsEnum<TBevelStyle>({{"bsLowered", bsLowered}, {"bsRaised", bsRaised}});
    else
        return TControl::SetProperty(name, value);
    return true;
}

void TBevel::Paint(TCanvas& canvas)
{
    const TRect rect{0, 0, Width(), Height()};
    const bool lowered = style_ == bsLowered;
    if (shape_ == bsFrame)
        FrameEtched(canvas, rect, lowered);
    else
        Frame3D(canvas, rect, lowered ? clBtnShadow : clBtnHighlight,
                lowered ? clBtnHighlight : clBtnShadow);
}

bool TImage::SetProperty(const std::string& name, const FormValue& value)
{
    if (name != "Picture.Data")
        return TControl::SetProperty(name, value);
    picture_.LoadFromFileData(BitmapFileFromPictureData(value.AsBinary()));
    return true;
}

void TImage::Paint(TCanvas& canvas)
{
    if (!picture_.Empty())
        canvas.Draw(0, 0, picture_);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    if (vcl::Backend* backend = vcl::CurrentBackend())
        peer_ = backend->CreateTimerPeer(*this);
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval_ms)
{
    if (interval_ms == interval_)
        return;
    interval_ = interval_ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    on_timer_ = std::move(handler);
    UpdateTimer();
}

bool TTimer::SetProperty(const std::string& name, const FormValue& value)
{
    if (name == "Enabled") SetEnabled(value.AsBoolean());
    else if (name == "Interval") SetInterval(IntervalValue(value));
    else return TComponent::SetProperty(name, value);
    return true;
}

bool TTimer::SetEvent(const std::string& name, TNotifyEvent handler)
{
    if (name != "OnTimer")
        return TComponent::SetEvent(name, std::move(handler));
    SetOnTimer(std::move(handler));
    return true;
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Tick()
{
    if (Running())
        on_timer_(this);
}

void TTimer::UpdateTimer()
{
    if (!peer_ || Loading())
        return;
    peer_->Stop();
    if (Running())
        peer_->Start(interval_);
}
