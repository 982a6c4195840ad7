#pragma once
// The root view of the plug-in's window: shows the processor's editor in the host's window.
//
// - The editor is the processor's own (createEditorIfNeeded), made when the view is given a port
//   and deleted when the port is taken away or the view goes; a view never given a port has no
//   editor.
// - The frame stays at top-left (0, 0) with the editor's size; before the first port an editor
//   is made only to learn its size, and deleted again.
// - Where the host shows its window in a native one (the toolbox's GetNativeWindow answers an X11
//   window), the editor is a native child window of it and takes the mouse there itself;
//   otherwise the editor's rendering is painted into the port's pixels whenever the view draws,
//   and the view's idle asks the toolbox to redraw the part that the editor repainted since.
// - The view draws no background of its own.
//
// [window thread] for every operation (the host's thread that drives the window); every JUCE
// call runs on the module's JUCE message thread.

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <mutex>

#include <views/custom/CCustomView.h>

class JuceMessageThread;

class JuceCustomUIView final : public CCustomView
{
public:
    // No editor yet: the port brings it.
    explicit JuceCustomUIView (juce::AudioProcessor& processor);
    // Deletes the editor.
    ~JuceCustomUIView() override;

    // The frame becomes (0, 0) and the editor's size (a native child window moves with it);
    // without an editor it keeps the size of the last one, and with none yet it makes one to
    // learn the size and deletes it again. Throws CDAEError -7053 when the processor makes no
    // editor.
    void UpdateSize();
    // Called after the view took the port as its window. A port gets an editor (a new one when
    // there is none; CDAEError -7053 when the processor makes none) placed in the port's native
    // window when the host shows it in one; null takes the editor out of its window and deletes
    // it.
    void AttachToPort (WindowRef port);
    // Deletes the editor (the processor it shows may go next).
    void DeleteEditor();
    bool HasEditor() const { return fEditor != nullptr; }
    // Whether the editor is a native child of the port's window.
    bool IsNativeChild() const { return fNativeChild; }

    // The editor's rendering of the area, copied into the port's pixels; nothing while the editor
    // draws itself as a native window.
    void DrawContents (const Rect& area) override;
    // Nothing: the editor covers the whole frame.
    void DrawBackground (const Rect& area) override;
    // Moves the native child window with the frame.
    void Offset (int16_t dh, int16_t dv) override;
    // The part of the frame that the editor painted into the port repainted since the port last
    // showed it (the union of its repainted areas) is marked for update by the host; then the
    // view's own idle pass.
    void Idle (int32_t value) override;

private:
    class RepaintNotice;

    void MakeEditor();
    void TakeEditorSize();
    void PlaceNativeChild();
    // [message thread] Adds an area of the editor's to what it repainted.
    void NoteRepaint (const juce::Rectangle<int>& area);
    // The part of the frame the editor repainted that the view shows; what it repainted is
    // forgotten when `shown` holds that part.
    Rect TakeRepainted (const Rect& shown);
    // Marks a part of the frame for update by the host.
    void MarkForUpdate (const Rect& part);

    juce::AudioProcessor& fProcessor;
    const std::shared_ptr<JuceMessageThread> fMessageThread;
    // [message thread adds, window thread takes] What the editor repainted since the port last
    // showed it, in the editor's coordinates; empty when nothing. It outlives the editor.
    std::mutex fRepaintedLock;
    juce::Rectangle<int> fRepainted;
    std::unique_ptr<juce::AudioProcessorEditor> fEditor;
    bool fNativeChild = false;
    bool fSizeKnown = false;
    // The port's origin when the view took the port: the frame's coordinates are the port's at it.
    Point fPortOrigin {};
};
