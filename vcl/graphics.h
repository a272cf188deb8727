// Colours, fonts, pictures and the drawing surface that controls paint on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour: 0x00BBGGRR, or a system colour (its index with the high bit set), resolved by the
// window system when drawing.
using TColor = std::uint32_t;

constexpr TColor SystemColor(unsigned index) { return 0x80000000u | index; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clHotLight = SystemColor(26);

// Looks a colour's name up ("clNavy"); false when the name is unknown.
bool ColorFromIdent(const std::string& ident, TColor& color);

struct TPoint {
    int X = 0;
    int Y = 0;
};

struct TSize {
    int cx = 0;
    int cy = 0;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

enum class TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    std::string Name = "MS Sans Serif";
    int Height = -11;  // negative: the character height in pixels, without internal leading
    TColor Color = clWindowText;
    unsigned Style = 0;  // TFontStyle flags
    int Charset = 1;     // DEFAULT_CHARSET

    bool Has(TFontStyle style) const { return (Style & static_cast<unsigned>(style)) != 0; }
};

// A device-independent bitmap, kept as the bytes of its .bmp file.
class TBitmap {
public:
    // Takes the bytes of a .bmp file; throws Exception when they are not a bitmap we can show.
    void LoadFromFileData(std::vector<std::uint8_t> file);

    bool Empty() const { return file_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint8_t* Info() const;  // BITMAPINFOHEADER followed by the colour table
    const std::uint8_t* Bits() const;  // the pixel rows

private:
    std::vector<std::uint8_t> file_;
    int width_ = 0;
    int height_ = 0;
    std::uint32_t bits_offset_ = 0;
};

enum class TTextLayout { LeftTop, Centered };

// What a control draws with; the window system supplies one for each paint.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // A one-pixel line through the points, the last point included.
    virtual void Polyline(const std::vector<TPoint>& points, TColor color) = 0;
    virtual void TextRect(const TRect& rect, const std::string& text, const TFont& font,
                          TColor color, TTextLayout layout) = 0;
    virtual TSize TextExtent(const std::string& text, const TFont& font) = 0;
    virtual void Draw(int x, int y, const TBitmap& bitmap) = 0;
};

// A one-pixel rectangle just inside rect: its top and left edges in one colour, its right and
// bottom edges in the other.
void Frame3D(TCanvas& canvas, const TRect& rect, TColor top_left, TColor bottom_right);
// A groove (lowered) or a ridge (raised): two rectangles one pixel apart.
void FrameEtched(TCanvas& canvas, const TRect& rect, bool lowered);
