// The picture cache and the views that draw from it: shared pictures and their release, the
// cache's life, pictures chosen by state, descriptions, and icons shown by several views.

#include "ControlViewSupport.h"
#include "GroupTestSupport.h"
#include "NonCountingToolbox.h"
#include "PlugInResources.h"

#include "process/base/FourCharCode.h"
#include "views/pictures/CCachedPictureManager.h"
#include "views/pictures/CIconView.h"
#include "views/pictures/CPictureSlot.h"
#include "views/pictures/CPictureView.h"

#include <algorithm>

namespace
{

constexpr uint32_t kRedPixel = 0xFFFF0000u;
constexpr uint32_t kBluePixel = 0xFF0000FFu;
constexpr uint32_t kGreenPixel = 0xFF00FF00u;
constexpr uint32_t kBlackPixel = 0xFF000000u;

class PictureViews : public ViewWindowTest
{
protected:
    void SetUp() override
    {
        ViewWindowTest::SetUp();
        resources = std::make_unique<ScopedPlugInResources> ("Pictures", std::vector<SResource> {
                                                                             { "PICT", 5, PictureBytes (2, 2, kRedPixel) },
                                                                             { "PICT", 6, PictureBytes (2, 2, kBluePixel) },
                                                                             { "PICT", 7, PictureBytes (1, 1, kGreenPixel) },
                                                                             { "PICT", 10005, PictureBytes (1, 1, kGreenPixel) },
                                                                             { "ICON", 40, IconBytes (16) },
                                                                         });
    }

    void TearDown() override
    {
        root.reset();
        EXPECT_EQ (GetCachedPictureManager(), nullptr) << "the cache goes with its last user";
        resources.reset();
        ViewWindowTest::TearDown();
    }

    CPictureView& AddPicture (Rect frame, int16_t normal)
    {
        auto view = std::make_unique<CPictureView>();
        view->SetRect (frame);
        view->SetEnabled (true);
        view->SetPicture (PictureState::kNormal, normal);
        return Add (std::move (view));
    }

    void Show()
    {
        root->SetWindow (window);
        root->Invalidate (nullptr);
    }

    std::unique_ptr<ScopedPlugInResources> resources;
};

TEST_F (PictureViews, TheCacheSharesOnePicturePerIdAndDeletesItWithItsLastUser)
{
    {
        CPictureSlot first, second;
        first.Set (5);
        second.Set (5);
        CCachedPictureManager* manager = GetCachedPictureManager();
        ASSERT_NE (manager, nullptr);
        ASSERT_EQ (first.GetPicture(), second.GetPicture());
        EXPECT_EQ (first.GetPicture()->GetReferenceCount(), 2);
        EXPECT_EQ (manager->GetCount(), 1);
        EXPECT_EQ (manager->Find (5), first.GetPicture());

        second.Set (kNoPictureID);
        EXPECT_EQ (manager->GetCount(), 1);
        EXPECT_EQ (first.GetPicture()->GetReferenceCount(), 1);
        EXPECT_TRUE (first.GetPicture()->IsLoaded());

        CCachedPicture stranger;
        manager->Release (&stranger);
        EXPECT_EQ (manager->GetCount(), 1) << "a picture the cache does not hold is left alone";

        CCachedPicture* acquired = manager->Acquire (5);
        EXPECT_EQ (acquired, first.GetPicture());
        manager->Release (acquired);
        first.Set (kNoPictureID);
        EXPECT_EQ (manager->GetCount(), 0);
        EXPECT_EQ (manager->Find (5), nullptr);
        EXPECT_EQ (GetCachedPictureManager(), manager) << "the cache stays while its users do";
    }
    EXPECT_EQ (GetCachedPictureManager(), nullptr);
}

// A view drawing a picture with the plug-in's file held by a live instance, by the module's open
// and by nothing, through a toolbox that does not count opens: a held file is used as it is
// and stays open, else it is opened and closed again for the load; the host's file is current
// again afterwards. The picture still draws after the holder has let the file go and closed it.
TEST_F (PictureViews, DrawThePicturesOfAFileHeldOrNotAndStillDrawThemOnceItIsClosed)
{
    enum class Holder
    {
        kInstance,
        kModuleOpen,
        kNothing
    };
    resources.reset();
    const FSSpec hostSpec = WritePlugInResources ("HostsOwn", {});
    const int16_t hostFile = HostToolbox().FSpOpenResFile (&hostSpec, fsRdPerm);
    ASSERT_GT (hostFile, 0);
    const FSSpec plugInSpec = WritePlugInResources ("LonePicture", { { "PICT", 5, PictureBytes (2, 2, kRedPixel) } });
    const auto plugInFileOpen = [this] {
        const auto files = toolbox.openResourceFiles();
        return std::any_of (files.begin(), files.end(), [] (const auto& file) { return file.path.find ("LonePicture") != std::string::npos; });
    };
    const NonCountingToolbox nonCounting;
    const size_t handlesBefore = toolbox.liveHandles();
    const ScopedViewless viewless;
    for (const Holder holder : { Holder::kInstance, Holder::kModuleOpen, Holder::kNothing })
    {
        SCOPED_TRACE (holder == Holder::kInstance     ? "an instance holds the file"
                      : holder == Holder::kModuleOpen ? "the module's open holds the file"
                                                      : "nothing holds the file");
        const bool held = holder != Holder::kNothing;
        auto group = std::make_unique<CTestGroup>();
        group->addTypes = [] (CTestGroup& g) { g.AddProcessType (new CInstanceType); };
        EXPECT_EQ (group->Initialize(), 0);
        int32_t instance = 0;
        int16_t moduleFile = 0;
        if (holder == Holder::kInstance)
        {
            EXPECT_EQ (group->CreateProcess (kTestTypeID, &instance), 0);
        }
        if (holder == Holder::kModuleOpen)
            SetModulePlugInResFile (moduleFile = HostToolbox().FSpOpenResFile (&plugInSpec, fsRdPerm));
        HostToolbox().UseResFile (hostFile);
        toolbox.script().clearCalls();

        CPictureView& view = AddPicture ({ 10, 10, 30, 30 }, 5);
        EXPECT_TRUE (view.GetCurrentPicture()->IsLoaded());
        EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
        EXPECT_EQ (plugInFileOpen(), held);
        // Unheld, every picture of the view (its companion too) is loaded with an open of its own.
        const size_t opens = toolbox.script().countOf ("FSpOpenResFile");
        EXPECT_EQ (opens > 0, ! held);
        EXPECT_EQ (toolbox.script().countOf ("CloseResFile"), opens);
        Show();
        EXPECT_EQ (PixelAt (20, 20), kRedPixel);

        if (holder == Holder::kInstance)
        {
            EXPECT_EQ (group->DeleteProcess (kTestTypeID, instance), 0);
        }
        if (holder == Holder::kModuleOpen)
        {
            SetModulePlugInResFile (0);
            HostToolbox().CloseResFile (moduleFile);
        }
        EXPECT_FALSE (plugInFileOpen());
        const Rect frame = view.GetRect();
        HostToolbox().SetPort (window);
        HostToolbox().RGBForeColor (&kWhite);
        HostToolbox().PaintRect (&frame);
        EXPECT_EQ (PixelAt (20, 20), kWhitePixel);
        root->Invalidate (nullptr);
        EXPECT_EQ (PixelAt (20, 20), kRedPixel) << "drawn after its file was closed";
        EXPECT_EQ (toolbox.script().countOf ("InvalidHandle"), 0u);

        root->RemoveChild (&view);
        group.reset();
        EXPECT_EQ (toolbox.liveHandles(), handlesBefore);
        EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    }
    HostToolbox().CloseResFile (hostFile);
}

TEST_F (PictureViews, AMissingPictureHasNoIdAndDrawsNothing)
{
    CPictureView& view = AddPicture ({ 10, 10, 30, 30 }, 99);
    EXPECT_EQ (view.GetPictureID (PictureState::kNormal), kNoPictureID);
    ASSERT_NE (view.GetCurrentPicture(), nullptr);
    EXPECT_FALSE (view.GetCurrentPicture()->IsLoaded());
    toolbox.script().clearCalls();
    Show();
    EXPECT_EQ (toolbox.script().countOf ("DrawPicture"), 0u);
    EXPECT_EQ (PixelAt (15, 15), kWhitePixel);
}

TEST_F (PictureViews, NoViewsPictureChangesWhenAnotherTakesAnotherId)
{
    CPictureView& first = AddPicture ({ 0, 0, 20, 20 }, 5);
    CPictureView& second = AddPicture ({ 0, 40, 20, 60 }, 5);
    ASSERT_EQ (first.GetCurrentPicture(), second.GetCurrentPicture());
    first.SetPicture (PictureState::kNormal, 6);
    EXPECT_EQ (first.GetPictureID (PictureState::kNormal), 6);
    EXPECT_EQ (second.GetPictureID (PictureState::kNormal), 5);
    EXPECT_EQ (GetCachedPictureManager()->Find (5)->GetReferenceCount(), 1);
    Show();
    EXPECT_EQ (PixelAt (10, 10), kBluePixel);
    EXPECT_EQ (PixelAt (50, 10), kRedPixel);

    second.SetPicture (PictureState::kNormal, 6);
    EXPECT_EQ (GetCachedPictureManager()->Find (5), nullptr) << "a picture no slot holds is let go";
    EXPECT_EQ (GetCachedPictureManager()->Find (6)->GetReferenceCount(), 2);
}

TEST_F (PictureViews, TheCacheLivesWhilePictureViewsRemainEvenWithoutPictures)
{
    auto empty = std::make_unique<CPictureView>();
    {
        auto holding = std::make_unique<CPictureView>();
        holding->SetPicture (PictureState::kNormal, 5);
    }
    ASSERT_NE (GetCachedPictureManager(), nullptr);
    empty->SetPicture (PictureState::kClicked, 6);
    EXPECT_EQ (empty->GetPictureID (PictureState::kClicked), 6);
    empty.reset();
    EXPECT_EQ (GetCachedPictureManager(), nullptr);
}

TEST_F (PictureViews, TheStateChoosesThePicture)
{
    CPictureView& view = AddPicture ({ 10, 10, 30, 30 }, 5);
    Show();
    EXPECT_EQ (PixelAt (20, 20), kRedPixel);
    view.SetHilite (1);
    EXPECT_EQ (PixelAt (20, 20), kRedPixel) << "without a clicked picture the normal one shows";
    view.SetEnabled (false);
    EXPECT_EQ (view.GetCurrentPicture()->GetID(), 5);

    view.SetPicture (PictureState::kClicked, 6);
    view.SetPicture (PictureState::kDisabled, 7);
    EXPECT_EQ (view.GetCurrentPicture()->GetID(), 7);
    root->Invalidate (nullptr);
    EXPECT_EQ (PixelAt (20, 20), kGreenPixel);
    view.SetEnabled (true);
    EXPECT_EQ (PixelAt (20, 20), kBluePixel) << "enabling redraws, now with the clicked picture";
    view.SetHilite (0);
    EXPECT_EQ (PixelAt (20, 20), kRedPixel);

    view.SetPicture (PictureState::kDisabled, 99);
    view.SetEnabled (false);
    EXPECT_EQ (view.GetCurrentPicture()->GetID(), 5) << "a disabled picture without a resource is passed over";
}

TEST_F (PictureViews, StatesTakeCompanionsAndRefuseWhatIsNoState)
{
    CPictureView& view = AddPicture ({ 10, 10, 30, 30 }, 5);
    ASSERT_NE (view.GetCompanionPicture (PictureState::kNormal), nullptr);
    EXPECT_EQ (view.GetCompanionPicture (PictureState::kNormal)->GetID(), 10005);
    view.SetPicture (PictureState::kNormal, 30000);
    EXPECT_EQ (view.GetCompanionPicture (PictureState::kNormal), nullptr) << "30000 + 10000 is no picture id";
    view.SetPicture (PictureState::kNormal, kNoPictureID);
    EXPECT_EQ (view.GetCurrentPicture(), nullptr);

    EXPECT_EQ (ThrownCode ([&] { view.SetPicture (3, 5); }), -7400);
    EXPECT_EQ (ThrownCode ([&] { view.SetPicture (-1, 5); }), -7400);
    EXPECT_EQ (view.GetPictureID (3), kNoPictureID);

    view.SetWindow (window);
    toolbox.validateWindow (window);
    view.SetPicture (PictureState::kNormal, 6);
    const auto update = toolbox.updateRegion (window);
    ASSERT_EQ (update.size(), 1u);
    EXPECT_TRUE (ViewGeometry::SameRect (update[0], view.GetRect())) << "setting a picture marks the frame for update";
}

TEST_F (PictureViews, ReadTheirPicturesFromADescription)
{
    auto view = Described<CPictureView> ("! Picture (('Pic1') (normal 5 clicked \"later\" disabled 7))");
    ASSERT_NE (view, nullptr);
    EXPECT_EQ (view->GetPictureID (PictureState::kNormal), 5);
    EXPECT_EQ (view->GetPictureID (PictureState::kClicked), kNoPictureID);
    EXPECT_EQ (view->GetPictureID (PictureState::kDisabled), 7);
    view.reset();

    // A missing list or picture id is -7053, anything else out of place -7400.
    ExpectDescriptionCodes<CPictureView> ("Picture",
                                          {
                                              { "(('Pic1'))", -7053 },
                                              { "(('Pic1') (normal))", -7053 },
                                              { "(('Pic1') (normal 5 clicked))", -7053 },
                                              { "(('Pic1') (5 normal))", -7400 },
                                              { "(('Pic1') (left 5))", -7400 },
                                              { "(('Pic1') (normal 5.5))", -7400 },
                                              { "(('Pic1') (normal 70000))", -7400 },
                                          });
}

TEST_F (PictureViews, IconViewsOfOneIconDoNotFreeItUnderEachOther)
{
    auto first = std::make_unique<CIconView>();
    first->SetRect ({ 0, 0, 32, 32 });
    first->SetIconID (40);
    auto second = std::make_unique<CIconView>();
    second->SetRect ({ 0, 40, 32, 72 });
    second->SetIconID (40);
    EXPECT_TRUE (first->HasIcon());
    EXPECT_TRUE (second->HasIcon());
    first.reset();
    CIconView& shown = Add (std::move (second));
    root->SetWindow (window);
    // The icon plots in the port's colours.
    const RGBColor black { 0, 0, 0 };
    HostToolbox().SetPort (window);
    HostToolbox().RGBForeColor (&black);
    HostToolbox().RGBBackColor (&kWhite);
    shown.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (50, 5), kBlackPixel) << "the icon's set rows";
    EXPECT_EQ (PixelAt (50, 25), kWhitePixel) << "its clear rows";

    shown.SetIconID (41);
    EXPECT_FALSE (shown.HasIcon());
    EXPECT_EQ (shown.GetIconID(), 41);
    toolbox.script().clearCalls();
    root->Invalidate (nullptr);
    EXPECT_EQ (toolbox.script().countOf ("PlotIcon"), 0u);
    shown.SetIconID (kNoIconID);
    EXPECT_FALSE (shown.HasIcon());
}

} // namespace
