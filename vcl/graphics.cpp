#include "graphics.h"

#include "exceptions.h"

#include <cstdlib>

namespace {

struct NamedColor {
    const char* name;
    TColor color;
};

const NamedColor kColors[] = {
    {"clBlack", clBlack},         {"clNavy", clNavy},           {"clWhite", clWhite},
    {"clWindowText", clWindowText}, {"clBtnFace", clBtnFace},   {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},   {"clBtnHighlight", clBtnHighlight},
    {"clHotLight", clHotLight},
};

std::uint32_t ReadU32(const std::vector<std::uint8_t>& data, std::size_t at)
{
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | std::uint32_t(data[at + 3]) << 24;
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& data, std::size_t at)
{
    return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

}  // namespace

bool ColorFromIdent(const std::string& ident, TColor& color)
{
    for (const NamedColor& named : kColors) {
        if (ident == named.name) {
            color = named.color;
            return true;
        }
    }
    return false;
}

void TBitmap::LoadFromFileData(std::vector<std::uint8_t> file)
{
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        throw Exception("Bitmap image is not valid");

    const std::uint32_t bits_offset = ReadU32(file, 10);
    const std::uint32_t info_size = ReadU32(file, 14);
    const auto width = static_cast<std::int32_t>(ReadU32(file, 18));
    const auto height = static_cast<std::int32_t>(ReadU32(file, 22));
    const std::uint16_t bit_count = ReadU16(file, 28);
    const std::uint32_t compression = ReadU32(file, 30);
    const std::uint32_t colors_used = ReadU32(file, 46);

    if (info_size < kInfoHeaderSize || width <= 0 || height == 0 || height < -32768 ||
        width > 32768 || compression != 0)
        throw Exception("Bitmap image is not valid");
    if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 24 && bit_count != 32)
        throw Exception("Bitmap image is not valid");

    const std::uint64_t palette =
        bit_count <= 8 ? 4ull * (colors_used ? colors_used : 1u << bit_count) : 0;
    const std::uint64_t row = ((std::uint64_t(width) * bit_count + 31) / 32) * 4;
    const std::uint64_t pixels = row * static_cast<std::uint64_t>(std::abs(height));
    if (kFileHeaderSize + info_size + palette > bits_offset ||
        std::uint64_t(bits_offset) + pixels > file.size())
        throw Exception("Bitmap image is not valid");

    file_ = std::move(file);
    width_ = width;
    height_ = std::abs(height);
    bits_offset_ = bits_offset;
}

const std::uint8_t* TBitmap::Info() const { return file_.data() + kFileHeaderSize; }

const std::uint8_t* TBitmap::Bits() const { return file_.data() + bits_offset_; }

void Frame3D(TCanvas& canvas, const TRect& rect, TColor top_left, TColor bottom_right)
{
    const int right = rect.Right - 1;
    const int bottom = rect.Bottom - 1;
    canvas.Polyline({{rect.Left, bottom}, {rect.Left, rect.Top}, {right, rect.Top}}, top_left);
    canvas.Polyline({{right, rect.Top}, {right, bottom}, {rect.Left, bottom}}, bottom_right);
}

void FrameEtched(TCanvas& canvas, const TRect& rect, bool lowered)
{
    const TColor outer = lowered ? clBtnShadow : clBtnHighlight;
    const TColor inner = lowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, {rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom}, inner, inner);
    Frame3D(canvas, {rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1}, outer, outer);
}
