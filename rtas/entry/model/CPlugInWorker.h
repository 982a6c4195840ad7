#pragma once
// A plug-in's worker: what the engine runs for the plug-in on its real-time thread. It carries the
// render callback and the data blocks that the callback receives.
//
// [host thread] for every operation.

#include <cstdint>

#include <abi/ObjectTracker.h>

#include "entry/CSet.h"

class CPlugIn;
class CPlugInData;

class CPlugInWorker
{
public:
    // Appends itself to the plug-in's worker list, then registers with the tracker (kind 7).
    // `userWord` is published as it stands (the adaptor passes its name).
    CPlugInWorker (CPlugIn& owner, PlugInRenderCallback callback, const void* userWord);
    CPlugInWorker (const CPlugInWorker&) = delete;
    CPlugInWorker& operator= (const CPlugInWorker&) = delete;

    // Unregisters, then leaves the plug-in's worker list.
    virtual ~CPlugInWorker();
    // Publishes {1, render callback, 4, its four lists, user word, state word}.
    virtual void Publish();

    PlugInRenderCallback GetRenderCallback() const { return fCallback; }
    void SetRenderCallback (PlugInRenderCallback callback) { fCallback = callback; }

    // The data blocks (not owned) that the engine hands to the render callback, first one first.
    CSet<CPlugInData>& GetDataBlocks() { return fDataBlocks; }

private:
    CSet<CPlugInData> fDataBlocks;
    CSet<void> fSecondList;
    CSet<void> fThirdList;
    CSet<void> fFourthList;
    CPlugIn& fOwner;
    PlugInRenderCallback fCallback;
    const void* fUserWord;
    int32_t fState = 0;
};
