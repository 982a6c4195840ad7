#include "JuceAAX_GUI.h"

#include "JuceAAX_Processor.h"

#include <algorithm>

namespace AAXClasses
{
// Holds the processor's editor and passes the host's offscreen mouse events to it.
class JuceAAX_GUI::Content final : public juce::Component
{
public:
    explicit Content (juce::AudioProcessor& processor) : editor_ (NewEditor (processor))
    {
        if (editor_ == nullptr)
            throw std::runtime_error ("the processor made no editor");
        addAndMakeVisible (editor_.get());
        setSize (editor_->getWidth(), editor_->getHeight());
        setOpaque (true);
    }

    ~Content() override
    {
        // The editor tells its processor it is going.
        editor_.reset();
    }

    void resized() override { editor_->setBounds (getLocalBounds()); }

    // The editor's own rendering, into the host's pixels (clipped to both sizes).
    void DrawInto (AAX_SOffscreenView& view)
    {
        if (view.pixels == nullptr || view.width <= 0 || view.height <= 0)
            return;
        const juce::Image picture = createComponentSnapshot (getLocalBounds(), true, 1.0f).convertedToFormat (juce::Image::ARGB);
        const juce::Image::BitmapData bitmap (picture, juce::Image::BitmapData::readOnly);
        const int width = std::min (view.width, picture.getWidth());
        const int height = std::min (view.height, picture.getHeight());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                view.pixels[size_t (y) * size_t (view.width) + size_t (x)] = bitmap.getPixelColour (x, y).getARGB();
    }

    // A press, a drag or a release at a point of the view, as a mouse would give them.
    void Mouse (int32_t event, int32_t x, int32_t y)
    {
        const juce::Point<float> at { static_cast<float> (x), static_cast<float> (y) };
        const auto now = juce::Time::getCurrentTime();
        if (event == AAX_MOUSE_DOWN)
        {
            pressed_ = getComponentAt (x, y);
            downAt_ = at;
            downTime_ = now;
        }
        if (pressed_ == nullptr)
            return;
        const auto local = pressed_->getLocalPoint (this, at);
        const auto localDown = pressed_->getLocalPoint (this, downAt_);
        const bool dragged = event != AAX_MOUSE_DOWN && at != downAt_;
        const juce::MouseEvent mouse (juce::Desktop::getInstance().getMainMouseSource(), local,
                                      juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier),
                                      juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                      juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                                      juce::MouseInputSource::defaultTiltY, pressed_, pressed_, now, localDown, downTime_, 1,
                                      dragged);
        juce::Component::SafePointer<juce::Component> target (pressed_);
        if (event == AAX_MOUSE_DOWN)
            target->mouseDown (mouse);
        else if (event == AAX_MOUSE_DRAG)
            target->mouseDrag (mouse);
        else if (event == AAX_MOUSE_UP)
        {
            target->mouseUp (mouse);
            pressed_ = nullptr;
        }
    }

private:
    // The processor's active editor when it has none yet; a window more gets an editor of its
    // own, so that no two windows share one.
    static juce::AudioProcessorEditor* NewEditor (juce::AudioProcessor& processor)
    {
        return processor.getActiveEditor() == nullptr ? processor.createEditorIfNeeded() : processor.createEditor();
    }

    std::unique_ptr<juce::AudioProcessorEditor> editor_;
    juce::Component* pressed_ = nullptr;
    juce::Point<float> downAt_;
    juce::Time downTime_;
};

JuceAAX_GUI::JuceAAX_GUI() : messageThread_ (JuceMessageThread::Acquire()) {}

JuceAAX_GUI::~JuceAAX_GUI()
{
    try
    {
        DeleteContent();
    }
    catch (...)
    {
    }
}

IACFUnknown* JuceAAX_GUI::Create()
{
    try
    {
        return static_cast<AAX_IACFEffectGUI*> (new JuceAAX_GUI);
    }
    catch (...)
    {
        return nullptr;
    }
}

JuceAAX_Processor* JuceAAX_GUI::Processor() const
{
    return dynamic_cast<JuceAAX_Processor*> (GetEffectParameters());
}

void JuceAAX_GUI::CreateViewContents()
{
    JuceAAX_Processor* processor = Processor();
    if (processor == nullptr || content_ != nullptr)
        return;
    messageThread_->Run ([&] {
        content_ = std::make_unique<Content> (processor->GetPluginInstance());
        viewSize_ = juce::Point<int> (content_->getWidth(), content_->getHeight());
    });
}

int32_t JuceAAX_GUI::GetViewSize (AAX_Point* outSize) const
{
    if (outSize == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (! viewSize_.has_value())
        return AAX_ERROR_NULL_OBJECT;
    outSize->horz = float (viewSize_->x);
    outSize->vert = float (viewSize_->y);
    return AAX_SUCCESS;
}

void JuceAAX_GUI::Detach()
{
    messageThread_->Run ([&] {
        if (offscreen_ != nullptr)
        {
            offscreen_->draw = nullptr;
            offscreen_->mouse = nullptr;
            offscreen_->client = nullptr;
            offscreen_ = nullptr;
        }
        if (content_ != nullptr && content_->isOnDesktop())
            content_->removeFromDesktop();
    });
}

void JuceAAX_GUI::CreateViewContainer()
{
    Detach();
    AAX_IViewContainer* container = GetViewContainer();
    CreateViewContents();
    if (container == nullptr || content_ == nullptr)
        return;
    int32_t type = AAX_VIEW_CONTAINER_NONE;
    void* nativeView = nullptr;
    container->GetType (&type);
    container->GetPtr (&nativeView);
    if (nativeView == nullptr)
        return;

    messageThread_->Run ([&] {
        if (type == AAX_VIEW_CONTAINER_X11_WINDOW)
        {
            content_->addToDesktop (0, nativeView);
            content_->setVisible (true);
        }
        else if (type == AAX_VIEW_CONTAINER_OFFSCREEN)
        {
            offscreen_ = static_cast<AAX_SOffscreenView*> (nativeView);
            offscreen_->client = this;
            offscreen_->draw = &JuceAAX_GUI::DrawOffscreen;
            offscreen_->mouse = &JuceAAX_GUI::MouseOffscreen;
            content_->setVisible (true);
        }
    });
    container->SetViewSize (content_->getWidth(), content_->getHeight());
}

void JuceAAX_GUI::DeleteViewContainer()
{
    DeleteContent();
}

void JuceAAX_GUI::DeleteContent()
{
    Detach();
    messageThread_->Run ([&] { content_.reset(); });
}

int32_t JuceAAX_GUI::Uninitialize()
{
    // The editor goes before the instance it shows may go.
    const int32_t deleted = Guarded ([&]() -> int32_t {
        DeleteContent();
        return AAX_SUCCESS;
    });
    const int32_t result = AAX_CEffectGUI::Uninitialize();
    return deleted != AAX_SUCCESS ? deleted : result;
}

void JuceAAX_GUI::DrawOffscreen (void* client, AAX_SOffscreenView* view)
{
    auto* gui = static_cast<JuceAAX_GUI*> (client);
    if (gui == nullptr || view == nullptr)
        return;
    try
    {
        gui->messageThread_->Run ([&] {
            if (gui->content_ != nullptr)
                gui->content_->DrawInto (*view);
        });
    }
    catch (...)
    {
    }
}

void JuceAAX_GUI::MouseOffscreen (void* client, int32_t event, int32_t x, int32_t y)
{
    auto* gui = static_cast<JuceAAX_GUI*> (client);
    if (gui == nullptr)
        return;
    try
    {
        gui->messageThread_->Run ([&] {
            if (gui->content_ != nullptr)
                gui->content_->Mouse (event, x, y);
        });
    }
    catch (...)
    {
    }
}
} // namespace AAXClasses
