#pragma once
// Whether the process runs without views: the module was opened through WinPlugInOpen, or the
// view-less flag is set. The entry layer sets the mark; the process library reads it.

// [host thread] Set by WinPlugInOpen as it opens (and cleared as it refuses a key).
void SetOpenedByWinPlugInOpen (bool opened);
bool OpenedByWinPlugInOpen();

bool IsViewlessMode();
void SetViewlessMode (bool viewless);
