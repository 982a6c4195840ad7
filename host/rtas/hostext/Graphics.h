#pragma once
// The stand-in toolbox's drawing: windows (ports) with their pixels, the current port, regions
// and pixel patterns, and every drawing operation on the current port.

#include "FixedFont.h"
#include "Port.h"

#include "../StandInScript.h"

#include <map>
#include <memory>
#include <optional>
#include <string_view>

namespace kestrune::host::rtas
{

// Objects that the toolbox hands out by pointer, kept by that pointer (the object's address).
template <typename Handle, typename Object>
class ObjectTable
{
public:
    Handle add (std::unique_ptr<Object> object)
    {
        auto* handle = reinterpret_cast<Handle> (object.get());
        objects_[handle] = std::move (object);
        return handle;
    }

    bool erase (Handle handle) { return objects_.erase (handle) == 1; }
    bool contains (Handle handle) const { return objects_.count (handle) != 0; }
    size_t size() const { return objects_.size(); }
    void clear() { objects_.clear(); }

    Object* find (Handle handle) const
    {
        const auto found = objects_.find (handle);
        return found != objects_.end() ? found->second.get() : nullptr;
    }

    template <typename Visit>
    void forEach (Visit visit)
    {
        for (auto& [handle, object] : objects_)
            visit (*object);
    }

private:
    std::map<Handle, std::unique_ptr<Object>> objects_;
};

class Graphics
{
public:
    enum class Shape
    {
        rectangle,
        oval
    };

    enum class Action
    {
        erase,
        paint,
        frame
    };

    explicit Graphics (StandInScript& script) : script_ (script) {}

    void clear();

    // Windows and the current port. port() is null (and the use recorded) for an unknown one.
    WindowRef newWindow (const Box& global);
    void disposeWindow (WindowRef window);
    Port* port (GrafPtr port);
    bool exists (GrafPtr port) const { return ports_.contains (port); }
    Port* currentPort() { return ports_.find (current_); }
    GrafPtr current() const { return current_; }
    void setCurrent (GrafPtr port);
    size_t windowCount() const { return ports_.size(); }

    // Regions; region() is null (and the use recorded) for an unknown one.
    RgnHandle newRegion();
    void disposeRegion (RgnHandle region);
    Region* region (RgnHandle region);
    size_t regionCount() const { return regions_.size(); }

    // Pixel patterns; pattern() is null (and the use recorded) for an unknown one.
    PixPatHandle addPattern (PixelPattern pattern);
    void disposePattern (PixPatHandle pattern);
    const PixelPattern* pattern (PixPatHandle pattern);
    size_t patternCount() const { return patterns_.size(); }
    // The pattern that erasing in the port uses, or null for its back colour.
    const PixelPattern* backPatternOf (const Port& port) const;

    // The current port's origin, clip and coordinates.
    void setOrigin (int32_t h, int32_t v);
    Point localToGlobal (Point point);
    Point globalToLocal (Point point);
    void invalidate (WindowRef window, const Rect& rect);
    void scroll (const Rect& rect, int32_t dh, int32_t dv, RgnHandle uncovered);

    // Shapes, lines and the pen, in the current port.
    void shape (Shape shape, Action action, const Rect& rect);
    void lineTo (int32_t h, int32_t v);
    // Records the mode when it is outside 0-15.
    void checkMode (int16_t mode);

    // Text in the current port at the pen, which moves past it.
    void drawText (std::string_view text);
    void textBox (std::string_view text, const Rect& box, int16_t just);
    FontMetrics currentFont();

    // Images, scaled into (pictures, icons) or copied to (pixels) a rectangle of the current port.
    void drawPicture (const uint8_t* data, size_t size, const Rect& frame);
    void plotIcon (const uint8_t* data, size_t size, const Rect& frame);
    void copyPixels (const uint32_t* pixels, int32_t width, int32_t height, int32_t rowBytes, const Rect& destination);

    // Drawing helpers for the toolbox's own objects (controls, text edit), on any port.
    void fill (Port& port, const Box& area, int16_t mode, bool source, const Region* limit = nullptr);
    int32_t drawRun (Port& port, int32_t x, int32_t baseline, std::string_view text, const FontMetrics& font,
                     int16_t mode, const Region* limit = nullptr);

    // A global point in a port's local coordinates.
    static Point toLocal (const Port& port, Point global);
    static Port::Source everywhere (bool bit);
    static bool insideOval (const Box& oval, int32_t x, int32_t y);

    // Records that a routine was given an object of this kind that the toolbox does not know.
    void reportInvalid (const void* object, const char* kind);
    // `known`, after recording the object when it is not.
    bool recognises (bool known, const void* object, const char* kind)
    {
        if (! known)
            reportInvalid (object, kind);
        return known;
    }

private:
    StandInScript& script_;
    ObjectTable<GrafPtr, Port> ports_;
    ObjectTable<RgnHandle, Region> regions_;
    ObjectTable<PixPatHandle, PixelPattern> patterns_;
    GrafPtr current_ = nullptr;
};

// A pixel pattern from its resource bytes; nullopt when they do not hold one.
std::optional<PixelPattern> parsePixelPattern (const uint8_t* data, size_t size);

} // namespace kestrune::host::rtas
