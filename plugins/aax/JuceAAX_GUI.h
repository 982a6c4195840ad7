// The AAX editor of KESTrune: the processor's editor in the host's view container.
#pragma once

#include "AAX_CEffectGUI.h"
#include "JuceMessageThread.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

namespace AAXClasses
{
class JuceAAX_Processor;

// Creates the processor's editor, reports its size, and places it in the host's window: as a
// child window of an X11 container, or drawn on request into an offscreen one. Every JUCE call
// runs on the module's JUCE message thread. [message thread: the host's window thread]
class JuceAAX_GUI final : public AAX_CEffectGUI
{
public:
    JuceAAX_GUI();
    // Deletes the editor first: it never outlives its window or its processor.
    ~JuceAAX_GUI() override;

    // The GUI factory the description registers. [host thread]
    static IACFUnknown* Create();

    int32_t Uninitialize() override;
    // The editor's size, also while no window shows it; -20004 before an editor was made.
    int32_t GetViewSize (AAX_Point* outSize) const override;

protected:
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;

private:
    class Content;

    // Removes the editor from whatever native view holds it.
    void Detach();
    void DeleteContent();
    JuceAAX_Processor* Processor() const;

    static void DrawOffscreen (void* client, AAX_SOffscreenView* view);
    static void MouseOffscreen (void* client, int32_t event, int32_t x, int32_t y);

    std::shared_ptr<JuceMessageThread> messageThread_;
    std::unique_ptr<Content> content_;
    // Width and height of the last editor made: the editor's size is fixed, so it holds after
    // the window closed and its editor was deleted.
    std::optional<juce::Point<int>> viewSize_;
    AAX_SOffscreenView* offscreen_ = nullptr;
};
} // namespace AAXClasses
