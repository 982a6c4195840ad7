#include "JuceEditorChanges.h"

void JuceEditorChanges::Post (const Change& change)
{
    const std::lock_guard lock (fLock);
    if (change.kind == Kind::value && ! fChanges.empty())
    {
        Change& last = fChanges.back();
        if (last.kind == Kind::value && last.parameter == change.parameter)
        {
            last.value = change.value;
            return;
        }
    }
    fChanges.push_back (change);
}

std::vector<JuceEditorChanges::Change> JuceEditorChanges::Take()
{
    const std::lock_guard lock (fLock);
    std::vector<Change> taken;
    taken.swap (fChanges);
    return taken;
}
