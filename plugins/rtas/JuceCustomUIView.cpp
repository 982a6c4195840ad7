#include "JuceCustomUIView.h"

#include "JuceMessageThread.h"

#include <cstdint>

#include <process/base/CDAEError.h>
#include <process/utilities/HostExtToolbox.h>
#include <views/base/ViewGeometry.h>

namespace
{
// [message thread] Whether JUCE reaches a display on which it can open native windows.
bool JuceHasDisplay()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

// An area of the editor's where the frame shows it.
Rect InFrame (const juce::Rectangle<int>& area, const Rect& frame)
{
    using ViewGeometry::Saturate;
    return { Saturate (frame.top + area.getY()), Saturate (frame.left + area.getX()), Saturate (frame.top + area.getBottom()),
             Saturate (frame.left + area.getRight()) };
}
} // namespace

// [message thread] Told by the editor of each of its repaints, which reach no window of its own
// while it is painted into the port. It keeps no image: asked to paint, it paints the editor.
class JuceCustomUIView::RepaintNotice final : public juce::CachedComponentImage
{
public:
    RepaintNotice (JuceCustomUIView& view, juce::Component& editor) : fView (view), fEditor (editor) {}

    void paint (juce::Graphics& g) override { fEditor.paintEntireComponent (g, false); }
    bool invalidateAll() override { return Notice (fEditor.getLocalBounds()); }
    bool invalidate (const juce::Rectangle<int>& area) override { return Notice (area); }
    void releaseResources() override {}

private:
    bool Notice (const juce::Rectangle<int>& area)
    {
        fView.NoteRepaint (area);
        return true;
    }

    JuceCustomUIView& fView;
    juce::Component& fEditor;
};

JuceCustomUIView::JuceCustomUIView (juce::AudioProcessor& processor)
    : fProcessor (processor), fMessageThread (JuceMessageThread::Acquire())
{
}

JuceCustomUIView::~JuceCustomUIView()
{
    try
    {
        DeleteEditor();
    }
    catch (...)
    {
    }
}

void JuceCustomUIView::MakeEditor()
{
    fMessageThread->Run ([&] {
        fEditor.reset (fProcessor.createEditorIfNeeded());
        if (fEditor != nullptr)
            fEditor->setCachedComponentImage (new RepaintNotice (*this, *fEditor));
    });
    if (fEditor == nullptr)
        throw CDAEError (RTASError::kNullPointer);
    TakeEditorSize();
}

void JuceCustomUIView::DeleteEditor()
{
    fNativeChild = false;
    if (fEditor == nullptr)
        return;
    fMessageThread->Run ([&] {
        if (fEditor->isOnDesktop())
            fEditor->removeFromDesktop();
        // The editor tells its processor that it is going.
        fEditor.reset();
    });
}

void JuceCustomUIView::UpdateSize()
{
    if (fEditor != nullptr)
        TakeEditorSize();
    else if (! fSizeKnown)
    {
        MakeEditor();
        DeleteEditor();
    }
}

void JuceCustomUIView::TakeEditorSize()
{
    int width = 0;
    int height = 0;
    fMessageThread->Run ([&] {
        width = fEditor->getWidth();
        height = fEditor->getHeight();
    });
    SetRect ({ 0, 0, ViewGeometry::Saturate (height), ViewGeometry::Saturate (width) });
    fSizeKnown = true;
    PlaceNativeChild();
}

void JuceCustomUIView::AttachToPort (WindowRef port)
{
    if (port == nullptr)
    {
        DeleteEditor();
        return;
    }
    Rect portBounds {};
    HostToolbox().GetPortBounds (port, &portBounds);
    fPortOrigin = { portBounds.top, portBounds.left };
    if (fEditor == nullptr)
        MakeEditor();
    const uint32_t nativeWindow = HostToolbox().GetNativeWindow (port);
    fMessageThread->Run ([&] {
        if (fEditor->isOnDesktop())
            fEditor->removeFromDesktop();
        fNativeChild = nativeWindow != 0 && JuceHasDisplay();
        if (fNativeChild)
            fEditor->addToDesktop (0, reinterpret_cast<void*> (static_cast<uintptr_t> (nativeWindow)));
        // Shown, its repaints reach its window or, painted into the port, its repaint notice.
        fEditor->setVisible (true);
    });
    PlaceNativeChild();
}

void JuceCustomUIView::PlaceNativeChild()
{
    if (! fNativeChild || GetWindow() == nullptr)
        return;
    // The frame is in the port's local coordinates; the child sits at window coordinates.
    Rect portBounds {};
    HostToolbox().GetPortBounds (GetWindow(), &portBounds);
    const Rect frame = GetRect();
    fMessageThread->Run ([&] { fEditor->setTopLeftPosition (frame.left - portBounds.left, frame.top - portBounds.top); });
}

void JuceCustomUIView::Offset (int16_t dh, int16_t dv)
{
    CCustomView::Offset (dh, dv);
    PlaceNativeChild();
}

void JuceCustomUIView::Idle (int32_t value)
{
    if (fEditor != nullptr && ! fNativeChild)
        MarkForUpdate (TakeRepainted (GetVisibleRect()));
    CCustomView::Idle (value);
}

void JuceCustomUIView::NoteRepaint (const juce::Rectangle<int>& area)
{
    const std::lock_guard lock (fRepaintedLock);
    fRepainted = fRepainted.getUnion (area);
}

Rect JuceCustomUIView::TakeRepainted (const Rect& shown)
{
    const Rect frame = GetRect();
    const std::lock_guard lock (fRepaintedLock);
    if (fRepainted.isEmpty())
        return {};
    const Rect part = ViewGeometry::Intersection (InFrame (fRepainted, frame), GetVisibleRect());
    if (ViewGeometry::IsEmpty (part) || ViewGeometry::Encloses (shown, part))
        fRepainted = {};
    return part;
}

void JuceCustomUIView::MarkForUpdate (const Rect& part)
{
    if (ViewGeometry::IsEmpty (part) || GetWindow() == nullptr)
        return;
    // The toolbox takes the part in the port's coordinates at its origin now.
    Rect portBounds {};
    HostToolbox().GetPortBounds (GetWindow(), &portBounds);
    const Rect marked = ViewGeometry::Offset (part, portBounds.left - fPortOrigin.h, portBounds.top - fPortOrigin.v);
    HostToolbox().InvalWindowRect (GetWindow(), &marked);
}

void JuceCustomUIView::DrawContents (const Rect& area)
{
    if (fEditor == nullptr || fNativeChild)
        return;
    const Rect frame = GetRect();
    const Rect drawn = ViewGeometry::Intersection (frame, area);
    if (ViewGeometry::IsEmpty (drawn))
        return;
    // This picture shows what the editor repainted within it, but not what it repaints from
    // here on.
    TakeRepainted (drawn);
    juce::Image picture;
    fMessageThread->Run ([&] {
        const juce::Rectangle<int> part (drawn.left - frame.left, drawn.top - frame.top, drawn.right - drawn.left, drawn.bottom - drawn.top);
        picture = fEditor->createComponentSnapshot (part, true, 1.0f).convertedToFormat (juce::Image::ARGB);
    });
    // An ARGB image holds premultiplied 0xAARRGGBB words, as the toolbox takes them.
    const juce::Image::BitmapData pixels (picture, juce::Image::BitmapData::readOnly);
    HostToolbox().CopyARGBPixels (reinterpret_cast<const uint32_t*> (pixels.data), pixels.width, pixels.height, pixels.lineStride, &drawn);
}

void JuceCustomUIView::DrawBackground (const Rect&) {}
