#include "PixelFont.h"

#include <cstdint>

namespace {

// Rows top to bottom, bit 2 is the left pixel.
uint8_t Row(char c, int row)
{
    static const struct {
        char Letter;
        uint8_t Rows[5];
    } glyphs[] = {
        {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
        {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
        {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'C', {3, 4, 4, 4, 3}},
        {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'N', {5, 7, 7, 5, 5}}, {'O', {2, 5, 5, 5, 2}},
        {'P', {6, 5, 6, 4, 4}}, {'S', {3, 4, 2, 1, 6}}, {'U', {5, 5, 5, 5, 7}}, {'X', {5, 5, 2, 5, 5}},
        {'T', {7, 2, 2, 2, 2}}, {'I', {7, 2, 2, 2, 7}},
    };
    for (const auto& g : glyphs)
        if (g.Letter == c)
            return g.Rows[row];
    return 0;
}

} // namespace

void DrawTinyText(QPainter& painter, QPoint topLeft, const std::string& text, const QColor& colour, int scale)
{
    int x = topLeft.x();
    for (char c : text) {
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (Row(c, row) & (4 >> col))
                    painter.fillRect(x + col * scale, topLeft.y() + row * scale, scale, scale, colour);
        x += 4 * scale;
    }
}

int TinyTextWidth(const std::string& text, int scale)
{
    return text.empty() ? 0 : (static_cast<int>(text.size()) * 4 - 1) * scale;
}

