#include "win32_canvas.h"

namespace vcl {

COLORREF ColorRef(TColor color)
{
    if (color & 0x80000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

FontCache::~FontCache()
{
    for (const auto& entry : fonts_)
        DeleteObject(entry.second);
}

HFONT FontCache::Get(const TFont& font)
{
    const std::string key = font.Name + '|' + std::to_string(font.Height) + '|' +
                            std::to_string(font.Style) + '|' + std::to_string(font.Charset);
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return found->second;
    HFONT handle = CreateFontA(
        font.Height, 0, 0, 0, font.Has(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL,
        font.Has(TFontStyle::fsItalic), font.Has(TFontStyle::fsUnderline),
        font.Has(TFontStyle::fsStrikeOut), static_cast<BYTE>(font.Charset), OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.Name.c_str());
    fonts_[key] = handle;
    return handle;
}

void Win32Canvas::FillRect(const TRect& rect, TColor color)
{
    const RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
    SetDCBrushColor(dc_, ColorRef(color));
    ::FillRect(dc_, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Win32Canvas::Polyline(const std::vector<TPoint>& points, TColor color)
{
    if (points.empty())
        return;
    HGDIOBJ old_pen = SelectObject(dc_, GetStockObject(DC_PEN));
    SetDCPenColor(dc_, ColorRef(color));
    MoveToEx(dc_, points[0].X, points[0].Y, nullptr);
    for (const TPoint& point : points)
        LineTo(dc_, point.X, point.Y);
    // LineTo leaves out the end point.
    SetPixelV(dc_, points.back().X, points.back().Y, ColorRef(color));
    SelectObject(dc_, old_pen);
}

void Win32Canvas::TextRect(const TRect& rect, const std::string& text, const TFont& font,
                           TColor color, TTextLayout layout)
{
    RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
    HGDIOBJ old_font = SelectObject(dc_, fonts_.Get(font));
    SetTextColor(dc_, ColorRef(color));
    SetBkMode(dc_, TRANSPARENT);
    const UINT format = layout == TTextLayout::Centered
                            ? DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS
                            : DT_LEFT | DT_TOP | DT_EXPANDTABS;
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &area, format);
    SelectObject(dc_, old_font);
}

TSize Win32Canvas::TextExtent(const std::string& text, const TFont& font)
{
    HGDIOBJ old_font = SelectObject(dc_, fonts_.Get(font));
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc_, old_font);
    return {size.cx, size.cy};
}

void Win32Canvas::Draw(int x, int y, const TBitmap& bitmap)
{
    SetDIBitsToDevice(dc_, x, y, bitmap.Width(), bitmap.Height(), 0, 0, 0, bitmap.Height(),
                      bitmap.Bits(), reinterpret_cast<const BITMAPINFO*>(bitmap.Info()),
                      DIB_RGB_COLORS);
}

}  // namespace vcl
