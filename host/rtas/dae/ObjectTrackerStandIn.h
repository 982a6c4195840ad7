#pragma once
// The stand-in engine's object tracker, as the rest of the engine reaches it.

namespace kestrune::host::rtas
{

// Forgets every object, block, recorded call and script, and offers the tracker again.
void resetObjectTrackerStandIn();

} // namespace kestrune::host::rtas
