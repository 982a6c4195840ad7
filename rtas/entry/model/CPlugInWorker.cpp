#include "entry/model/CPlugInWorker.h"

#include "entry/CWordBuffer.h"
#include "entry/ObjectTracker.h"
#include "entry/model/CPlugIn.h"

CPlugInWorker::CPlugInWorker (CPlugIn& owner, PlugInRenderCallback callback, const void* userWord)
    : fOwner (owner), fCallback (callback), fUserWord (userWord)
{
    fOwner.GetWorkerList().Add (this);
    TrackerRegister (this, ETrackedKind::kPlugInWorker);
}

CPlugInWorker::~CPlugInWorker()
{
    TrackerUnregister (this);
    fOwner.GetWorkerList().Remove (this);
}

void CPlugInWorker::Publish()
{
    CWordBuffer description;
    description.AppendWord (kDescriptionVersion);
    description.AppendPointer (reinterpret_cast<const void*> (fCallback));
    description.AppendWord (kWorkerListCount);
    description.AppendSet (fDataBlocks);
    description.AppendSet (fSecondList);
    description.AppendSet (fThirdList);
    description.AppendSet (fFourthList);
    description.AppendPointer (fUserWord);
    description.AppendWord (fState);
    TrackerPublish (this, description);
}
