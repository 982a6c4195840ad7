#include "Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int32_t kIconSide = 32;
    constexpr size_t kIconBytes = kIconSide * kIconSide / 8;
    constexpr int32_t kLargestPattern = 256;

    uint32_t readPixel (const uint8_t* at)
    {
        uint32_t pixel = 0;
        std::memcpy (&pixel, at, sizeof pixel);
        return pixel;
    }

    // The source column or row of a destination pixel when `source` pixels are scaled to
    // `destination` pixels.
    int32_t scaled (int32_t offset, int32_t source, int32_t destination)
    {
        return int32_t (int64_t (offset) * source / destination);
    }

} // namespace

void Graphics::clear()
{
    ports_.clear();
    regions_.clear();
    patterns_.clear();
    current_ = nullptr;
}

void Graphics::reportInvalid (const void* object, const char* kind)
{
    script_.record ("InvalidHandle", { addressOf (object) }, kind);
}

WindowRef Graphics::newWindow (const Box& global)
{
    return ports_.add (std::make_unique<Port> (global));
}

void Graphics::disposeWindow (WindowRef window)
{
    if (! recognises (ports_.erase (window), window, "port"))
        return;
    if (current_ == window)
        current_ = nullptr;
}

Port* Graphics::port (GrafPtr port)
{
    Port* found = ports_.find (port);
    recognises (found != nullptr, port, "port");
    return found;
}

void Graphics::setCurrent (GrafPtr port)
{
    if (port == nullptr || this->port (port) != nullptr)
        current_ = port;
}

RgnHandle Graphics::newRegion()
{
    return regions_.add (std::make_unique<Region>());
}

void Graphics::disposeRegion (RgnHandle region)
{
    recognises (regions_.erase (region), region, "region");
}

Region* Graphics::region (RgnHandle region)
{
    Region* found = regions_.find (region);
    recognises (found != nullptr, region, "region");
    return found;
}

PixPatHandle Graphics::addPattern (PixelPattern pattern)
{
    return patterns_.add (std::make_unique<PixelPattern> (std::move (pattern)));
}

void Graphics::disposePattern (PixPatHandle pattern)
{
    if (! recognises (patterns_.erase (pattern), pattern, "pattern"))
        return;
    // A port never erases with a pattern that is gone.
    ports_.forEach ([&] (Port& port) {
        if (port.backPattern == pattern)
            port.backPattern = nullptr;
    });
}

const PixelPattern* Graphics::pattern (PixPatHandle pattern)
{
    const PixelPattern* found = patterns_.find (pattern);
    recognises (found != nullptr, pattern, "pattern");
    return found;
}

const PixelPattern* Graphics::backPatternOf (const Port& port) const
{
    return patterns_.find (port.backPattern);
}

void Graphics::setOrigin (int32_t h, int32_t v)
{
    if (Port* port = currentPort())
    {
        port->originH = h;
        port->originV = v;
    }
}

Point Graphics::localToGlobal (Point point)
{
    if (const Port* port = currentPort())
        return { int16_t (point.v - port->originV + port->global.top), int16_t (point.h - port->originH + port->global.left) };
    return point;
}

Point Graphics::toLocal (const Port& port, Point global)
{
    return { int16_t (global.v - port.global.top + port.originV), int16_t (global.h - port.global.left + port.originH) };
}

Point Graphics::globalToLocal (Point point)
{
    if (const Port* port = currentPort())
        return toLocal (*port, point);
    return point;
}

void Graphics::invalidate (WindowRef window, const Rect& rect)
{
    Port* port = this->port (window);
    if (port == nullptr)
        return;
    const Box area = boxOf (rect).offset (-port->originH, -port->originV).intersection ({ 0, 0, port->width, port->height });
    port->update = Region::combine (port->update, Region (area), Region::Operation::unite);
}

void Graphics::scroll (const Rect& rect, int32_t dh, int32_t dv, RgnHandle uncovered)
{
    Region moved;
    if (Port* port = currentPort())
        moved = port->scroll (boxOf (rect), dh, dv, backPatternOf (*port));
    if (uncovered == nullptr)
        return;
    if (Region* result = region (uncovered))
        *result = moved;
}

Port::Source Graphics::everywhere (bool bit)
{
    return [bit] (int32_t, int32_t) { return std::optional<bool> (bit); };
}

bool Graphics::insideOval (const Box& oval, int32_t x, int32_t y)
{
    if (oval.empty())
        return false;
    const double dx = (x + 0.5 - (oval.left + oval.right) / 2.0) / (oval.width() / 2.0);
    const double dy = (y + 0.5 - (oval.top + oval.bottom) / 2.0) / (oval.height() / 2.0);
    return dx * dx + dy * dy <= 1.0;
}

void Graphics::fill (Port& port, const Box& area, int16_t mode, bool source, const Region* limit)
{
    port.transfer (area, mode, everywhere (source), backPatternOf (port), limit);
}

void Graphics::shape (Shape shape, Action action, const Rect& rect)
{
    Port* port = currentPort();
    const Box box = boxOf (rect);
    if (port == nullptr || box.empty())
        return;
    const bool erasing = action == Action::erase;
    const int16_t mode = erasing ? srcCopy : port->pen.mode;
    const Box inner = box.inset (port->pen.size.h, port->pen.size.v);
    const bool framing = action == Action::frame;
    if (framing && (port->pen.size.h <= 0 || port->pen.size.v <= 0))
        return;

    if (shape == Shape::rectangle)
    {
        const Region area = framing ? Region::combine (Region (box), Region (inner), Region::Operation::subtract) : Region (box);
        fill (*port, box, mode, ! erasing, &area);
        return;
    }
    port->transfer (
        box, mode,
        [&] (int32_t x, int32_t y) -> std::optional<bool> {
            if (! insideOval (box, x, y) || (framing && insideOval (inner, x, y)))
                return std::nullopt;
            return ! erasing;
        },
        backPatternOf (*port));
}

void Graphics::lineTo (int32_t h, int32_t v)
{
    Port* port = currentPort();
    if (port == nullptr)
        return;
    const int32_t x0 = port->pen.location.h;
    const int32_t y0 = port->pen.location.v;
    const int32_t penWidth = port->pen.size.h;
    const int32_t penHeight = port->pen.size.v;
    port->pen.location = { int16_t (v), int16_t (h) };
    if (penWidth <= 0 || penHeight <= 0)
        return;

    // The pixels that the pen covers at each step of the line, each once, so that xor modes
    // invert them once.
    const Box area = Box { std::min (x0, h), std::min (y0, v), std::max (x0, h) + penWidth, std::max (y0, v) + penHeight }
                         .intersection (port->localBounds());
    if (area.empty())
        return;
    std::vector<uint8_t> covered (size_t (area.width()) * size_t (area.height()), 0);
    const auto cover = [&] (int32_t x, int32_t y) {
        const Box pen = Box { x, y, x + penWidth, y + penHeight }.intersection (area);
        for (int32_t row = pen.top; row < pen.bottom; ++row)
            for (int32_t column = pen.left; column < pen.right; ++column)
                covered[size_t ((row - area.top) * area.width() + (column - area.left))] = 1;
    };
    const int32_t dx = std::abs (h - x0);
    const int32_t dy = -std::abs (v - y0);
    const int32_t stepX = x0 < h ? 1 : -1;
    const int32_t stepY = y0 < v ? 1 : -1;
    int32_t error = dx + dy;
    for (int32_t x = x0, y = y0;;)
    {
        cover (x, y);
        if (x == h && y == v)
            break;
        const int32_t twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            x += stepX;
        }
        if (twice <= dx)
        {
            error += dx;
            y += stepY;
        }
    }
    port->transfer (
        area, port->pen.mode,
        [&] (int32_t x, int32_t y) -> std::optional<bool> {
            if (covered[size_t ((y - area.top) * area.width() + (x - area.left))] == 0)
                return std::nullopt;
            return true;
        },
        backPatternOf (*port));
}

void Graphics::checkMode (int16_t mode)
{
    if (mode < srcCopy || mode > notPatBic)
        script_.record ("UnknownTransferMode", { mode });
}

FontMetrics Graphics::currentFont()
{
    const Port* port = currentPort();
    return port != nullptr ? fontMetrics (port->textSize, port->textFace) : fontMetrics (0, 0);
}

int32_t Graphics::drawRun (Port& port, int32_t x, int32_t baseline, std::string_view text, const FontMetrics& font,
                           int16_t mode, const Region* limit)
{
    const int32_t end = x + font.width (text.size());
    if (text.empty())
        return end;
    const Box area { x, baseline - font.ascent, end, baseline + font.descent };
    port.transfer (
        area, mode,
        [&] (int32_t px, int32_t py) -> std::optional<bool> {
            const auto character = static_cast<unsigned char> (text[size_t ((px - x) / font.advance)]);
            const int32_t column = (px - x) % font.advance;
            if (drawsGlyph (character) && column < font.glyphWidth() && py < baseline)
                return true;
            return font.underline && py == baseline + 1;
        },
        nullptr, limit);
    return end;
}

void Graphics::drawText (std::string_view text)
{
    Port* port = currentPort();
    if (port == nullptr)
        return;
    const int32_t end = drawRun (*port, port->pen.location.h, port->pen.location.v, text, currentFont(), port->textMode);
    port->pen.location.h = int16_t (end);
}

void Graphics::textBox (std::string_view text, const Rect& rect, int16_t just)
{
    Port* port = currentPort();
    const Box box = boxOf (rect);
    if (port == nullptr || box.empty())
        return;
    const Region limit (box);
    fill (*port, box, srcCopy, false);
    const FontMetrics font = currentFont();
    int32_t top = box.top;
    for (const TextLine& line : layoutLines (text, box.width(), font))
    {
        if (top >= box.bottom)
            break;
        const auto drawn = text.substr (line.start, visibleLength (text, line));
        drawRun (*port, justifiedLeft (box.left, box.right, font.width (drawn.size()), just), top + font.ascent, drawn, font,
                 port->textMode, &limit);
        top += font.lineHeight();
    }
}

void Graphics::drawPicture (const uint8_t* data, size_t size, const Rect& frame)
{
    Port* port = currentPort();
    const Box destination = boxOf (frame);
    if (port == nullptr || destination.empty())
        return;
    PictureHeader header {};
    if (data == nullptr || size < sizeof header)
    {
        reportInvalid (data, "picture");
        return;
    }
    std::memcpy (&header, data, sizeof header);
    const Box source = boxOf (header.frame);
    if (source.empty() || uint64_t (size - sizeof header) < uint64_t (source.width()) * uint64_t (source.height()) * 4)
    {
        reportInvalid (data, "picture");
        return;
    }
    const uint8_t* pixels = data + sizeof header;
    port->blend (destination, [&] (int32_t x, int32_t y) -> std::optional<uint32_t> {
        const int32_t column = scaled (x - destination.left, source.width(), destination.width());
        const int32_t row = scaled (y - destination.top, source.height(), destination.height());
        return readPixel (pixels + 4 * (size_t (row) * size_t (source.width()) + size_t (column)));
    });
}

void Graphics::plotIcon (const uint8_t* data, size_t size, const Rect& frame)
{
    Port* port = currentPort();
    const Box destination = boxOf (frame);
    if (port == nullptr || destination.empty())
        return;
    if (data == nullptr || size < kIconBytes)
    {
        reportInvalid (data, "icon");
        return;
    }
    port->transfer (
        destination, srcCopy,
        [&] (int32_t x, int32_t y) -> std::optional<bool> {
            const int32_t column = scaled (x - destination.left, kIconSide, destination.width());
            const int32_t row = scaled (y - destination.top, kIconSide, destination.height());
            return ((data[size_t (row * kIconSide / 8 + column / 8)] >> (7 - column % 8)) & 1) != 0;
        },
        nullptr);
}

void Graphics::copyPixels (const uint32_t* pixels, int32_t width, int32_t height, int32_t rowBytes, const Rect& rect)
{
    Port* port = currentPort();
    if (port == nullptr)
        return;
    if (pixels == nullptr || width < 0 || height < 0 || int64_t (rowBytes) < int64_t (width) * 4)
    {
        reportInvalid (pixels, "pixels");
        return;
    }
    const Box destination = boxOf (rect);
    const Box area { destination.left, destination.top, std::min (destination.right, destination.left + width),
                     std::min (destination.bottom, destination.top + height) };
    const auto* bytes = reinterpret_cast<const uint8_t*> (pixels);
    port->blend (area, [&] (int32_t x, int32_t y) -> std::optional<uint32_t> {
        return readPixel (bytes + size_t (y - destination.top) * size_t (rowBytes) + 4 * size_t (x - destination.left));
    });
}

std::optional<PixelPattern> parsePixelPattern (const uint8_t* data, size_t size)
{
    PixelPatternHeader header {};
    if (data == nullptr || size < sizeof header)
        return std::nullopt;
    std::memcpy (&header, data, sizeof header);
    if (header.width < 1 || header.height < 1 || header.width > kLargestPattern || header.height > kLargestPattern)
        return std::nullopt;
    const size_t count = size_t (header.width) * size_t (header.height);
    if (size - sizeof header < count * 4)
        return std::nullopt;
    PixelPattern pattern { header.width, header.height, std::vector<uint32_t> (count) };
    for (size_t i = 0; i < count; ++i)
        pattern.pixels[i] = readPixel (data + sizeof header + 4 * i);
    return pattern;
}

} // namespace kestrune::host::rtas
