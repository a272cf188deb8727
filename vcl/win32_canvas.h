// Drawing on a Win32 device context, and the fonts and colours that takes.
#pragma once

#include <map>
#include <string>

#include <windows.h>

#include "graphics.h"

namespace vcl {

COLORREF ColorRef(TColor color);

// One GDI font per distinct TFont, kept for the life of the backend.
class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    ~FontCache();

    HFONT Get(const TFont& font);

private:
    std::map<std::string, HFONT> fonts_;
};

class Win32Canvas : public TCanvas {
public:
    Win32Canvas(HDC dc, FontCache& fonts) : dc_(dc), fonts_(fonts) {}

    void FillRect(const TRect& rect, TColor color) override;
    void Polyline(const std::vector<TPoint>& points, TColor color) override;
    void TextRect(const TRect& rect, const std::string& text, const TFont& font, TColor color,
                  TTextLayout layout) override;
    TSize TextExtent(const std::string& text, const TFont& font) override;
    void Draw(int x, int y, const TBitmap& bitmap) override;

private:
    HDC dc_;
    FontCache& fonts_;
};

}  // namespace vcl
