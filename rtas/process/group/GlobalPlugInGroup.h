#pragma once
// The module's one plug-in group. The entry layer creates it and has it destroyed; the process
// library reaches it from here on its own (the group's types, the DSP card code, the driver's
// callbacks).
//
// While the group is being destroyed, PlugInGroup() still answers it, so that what its
// destructor ends (process types, DSP objects, driver callbacks) can reach the group they belong
// to; the host's routines no longer run on it then (LivePlugInGroup() is null). Once the
// destructor has finished, or thrown, the global is null: no one reaches freed memory.
//
// Another thread (the card driver's) reaches the group only through a PlugInGroupUse, which keeps
// it from being destroyed while the use lasts.

class CProcessGroupInterface;

// [host thread, driver thread] The global group, also while it is being destroyed; null when
// there is none.
CProcessGroupInterface* PlugInGroup();
// [host thread] The global group while it is not being destroyed; null otherwise.
CProcessGroupInterface* LivePlugInGroup();
// [host thread, driver thread] True while DeletePlugInGroup runs the group's destructor.
bool IsPlugInGroupBeingDestroyed();

// [host thread] The entry layer stores the group it created (null stores none).
void SetPlugInGroup (CProcessGroupInterface* group);
// [host thread, outside every use and outside the group's lock] Deletes the global group through
// its virtual destructor and clears the global, also when the destructor throws (what it throws
// then continues to the caller). It first waits for the uses that other threads hold to end; no
// new use gets the group from then on. A call while the group is being destroyed, or without a
// group, does nothing.
void DeletePlugInGroup();

// [any thread] A use of the global group: Group() is the group when there is one and it is not
// being destroyed, else null; a group it answers is not destroyed before the use ends.
class PlugInGroupUse
{
public:
    PlugInGroupUse();
    ~PlugInGroupUse();
    PlugInGroupUse (const PlugInGroupUse&) = delete;
    PlugInGroupUse& operator= (const PlugInGroupUse&) = delete;

    CProcessGroupInterface* Group() const { return fGroup; }

private:
    CProcessGroupInterface* fGroup = nullptr;
};
