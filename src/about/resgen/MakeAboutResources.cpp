// Draws the about box's pictures and writes them as a C++ source of byte arrays:
//   2001  palette, 256 entries of (blue, green, red, 0); 253 is the key colour (magenta), 255 white
//   2002  banner, 192 x 96 palette indices, rows without padding, bottom row first
//   2003  logo emblem, 64 x 64 palette indices, the same layout, on the key colour
// Usage: MakeAboutResources <output.cpp> <product name>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Palette layout.
constexpr int kSkyFirst = 0, kSkyCount = 64;        // banner background, dark navy to light blue
constexpr int kStripeFirst = 64, kStripeCount = 64; // banner stripes, teal to pale cyan
constexpr int kGoldFirst = 128, kGoldCount = 64;    // emblem ring, dark bronze to pale gold
constexpr int kInkFirst = 192, kInkCount = 32;      // feather, grey to white
constexpr int kKey = 253, kBlack = 254, kWhite = 255;

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

void PutRamp(Bytes& palette, int first, int count, Rgb from, Rgb to) {
    for (int i = 0; i < count; ++i) {
        Rgb c = Mix(from, to, count > 1 ? double(i) / (count - 1) : 0);
        std::uint8_t* entry = &palette[(first + i) * 4];
        entry[0] = static_cast<std::uint8_t>(std::lround(c.b));
        entry[1] = static_cast<std::uint8_t>(std::lround(c.g));
        entry[2] = static_cast<std::uint8_t>(std::lround(c.r));
        entry[3] = 0;
    }
}

Bytes MakePalette() {
    Bytes palette(1024, 0);
    PutRamp(palette, kSkyFirst, kSkyCount, {8, 12, 48}, {70, 130, 220});
    PutRamp(palette, kStripeFirst, kStripeCount, {10, 70, 90}, {170, 240, 250});
    PutRamp(palette, kGoldFirst, kGoldCount, {70, 40, 10}, {255, 236, 150});
    PutRamp(palette, kInkFirst, kInkCount, {110, 110, 120}, {250, 250, 255});
    PutRamp(palette, 224, 29, {120, 20, 20}, {250, 120, 90}); // spare reds
    PutRamp(palette, kKey, 1, {255, 0, 255}, {255, 0, 255});
    PutRamp(palette, kBlack, 1, {0, 0, 0}, {0, 0, 0});
    PutRamp(palette, kWhite, 1, {255, 255, 255}, {255, 255, 255});
    return palette;
}

// A 5 x 7 pixel font of our own: capitals, digits and a few marks.
struct Glyph {
    char Ch;
    const char* Rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
};

const Glyph* FindGlyph(char ch) {
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (const Glyph& glyph : kFont)
        if (glyph.Ch == ch) return &glyph;
    return nullptr; // characters outside the font are left out
}

// A picture held top row first while it is drawn.
struct Picture {
    int Width, Height;
    Bytes Pixels;
    Picture(int w, int h, std::uint8_t fill) : Width(w), Height(h), Pixels(std::size_t(w) * h, fill) {}
    void Put(int x, int y, std::uint8_t index) {
        if (x >= 0 && x < Width && y >= 0 && y < Height) Pixels[std::size_t(y) * Width + x] = index;
    }
    // The stored layout: bottom row first.
    Bytes BottomUp() const {
        Bytes rows;
        for (int y = Height - 1; y >= 0; --y)
            rows.insert(rows.end(), Pixels.begin() + std::ptrdiff_t(y) * Width,
                        Pixels.begin() + std::ptrdiff_t(y + 1) * Width);
        return rows;
    }
};

constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphGap = 1;

// Draws text with each font pixel as a scale x scale block, outlined in black, centred on cx.
void DrawText(Picture& pic, const std::string& text, int cx, int top, int scale) {
    std::vector<const Glyph*> glyphs;
    for (char ch : text)
        if (const Glyph* g = FindGlyph(ch)) glyphs.push_back(g);
    if (glyphs.empty()) return;
    const int advance = (kGlyphWidth + kGlyphGap) * scale;
    const int left = cx - (int(glyphs.size()) * advance - kGlyphGap * scale) / 2;
    for (int pass = 0; pass < 2; ++pass) { // outline first, then the letters over it
        for (std::size_t n = 0; n < glyphs.size(); ++n)
            for (int row = 0; row < kGlyphHeight; ++row)
                for (int col = 0; col < kGlyphWidth; ++col) {
                    if (glyphs[n]->Rows[row][col] != '#') continue;
                    const int x0 = left + int(n) * advance + col * scale, y0 = top + row * scale;
                    for (int dy = -1 + pass; dy <= scale - pass; ++dy)
                        for (int dx = -1 + pass; dx <= scale - pass; ++dx) {
                            const int shade =
                                kInkFirst + kInkCount - 1 - (row * scale + dy) * 10 / (kGlyphHeight * scale);
                            pic.Put(x0 + dx, y0 + dy, pass == 0 ? kBlack : std::uint8_t(shade));
                        }
                }
    }
}

Picture MakeBanner(const std::string& name) {
    Picture pic(192, 96, 0);
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < pic.Width; ++x) {
            // Diagonal stripes over a vertical gradient, so that the sideways wave shows.
            const bool stripe = ((x + y) / 12) % 2 == 0;
            const int shade = y * 63 / (pic.Height - 1);
            pic.Put(x, y, std::uint8_t(stripe ? kStripeFirst + shade / 2 : kSkyFirst + shade));
        }
    DrawText(pic, name, pic.Width / 2, 72, 2);
    return pic;
}

Picture MakeLogo() {
    Picture pic(64, 64, kKey);
    const double c = 31.5;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double dx = x - c, dy = y - c, r = std::hypot(dx, dy);
            if (r > 30) continue;
            if (r > 24) { // a gold ring lit from the upper left
                const double light = (1 - (dx + dy) / (2 * 30)) / 2;
                pic.Put(x, y, std::uint8_t(kGoldFirst + std::clamp(int(light * kGoldCount), 0, kGoldCount - 1)));
                continue;
            }
            if (r > 22.5) {
                pic.Put(x, y, kBlack);
                continue;
            }
            // A quill on a night-blue medallion, along the diagonal from lower left to upper right:
            // t runs along the quill, n across it.
            const double t = (dx - dy) / std::sqrt(2.0), n = (dx + dy) / std::sqrt(2.0);
            std::uint8_t index = std::uint8_t(kSkyFirst + 6 + int(r / 3));
            const double vane = t < -8 || t > 20 ? 0 : (n < 0 ? 9 : 6) * std::sin((t + 8) / 28 * 3.14159265);
            if (std::abs(n) < vane) {
                const bool barb = int(std::floor(t * 0.7 + std::abs(n) * 0.5)) % 3 == 0;
                index = std::uint8_t(kInkFirst + kInkCount - 1 - int(std::abs(n)) - (barb ? 8 : 0));
            }
            if (std::abs(n) < 0.9 && t > -17 && t < 18) index = std::uint8_t(kGoldFirst + 56); // the shaft
            if (std::abs(n) < 1.6 - (t + 17) / 6 && t > -17 && t < -11)
                index = std::uint8_t(kGoldFirst + 20); // the nib
            pic.Put(x, y, index);
        }
    return pic;
}

void WriteArray(std::ostream& out, const char* name, const Bytes& bytes) {
    out << "alignas(4) const std::uint8_t " << name << "[" << bytes.size() << "] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) out << (i % 24 == 0 ? "\n    " : "") << int(bytes[i]) << ',';
    out << "\n};\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: MakeAboutResources <output.cpp> <product name>\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << "// Generated by MakeAboutResources: the about box's palette, banner and logo.\n"
           "#include \"BitField.h\"\n\nnamespace quillon {\nnamespace {\n";
    WriteArray(out, "kPalette", MakePalette());
    WriteArray(out, "kBanner", MakeBanner(argv[2]).BottomUp());
    WriteArray(out, "kLogo", MakeLogo().BottomUp());
    out << "} // namespace\n\nconst TResourceModule& ProgramResources() {\n"
           "    static const TResourceModule module = {\n"
           "        {2000, 2001, kPalette}, {2000, 2002, kBanner}, {2000, 2003, kLogo}};\n"
           "    return module;\n}\n\n} // namespace quillon\n";
    out.close();
    return out ? 0 : 1;
}
