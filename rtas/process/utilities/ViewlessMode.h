#pragma once
// Whether the process runs without views: opened through WinPlugInOpen, or the flag set.

// [host thread] The open path marks a plug-in opened without views.
void MarkOpenedWithoutViews();
bool IsViewlessMode();
void SetViewlessMode (bool viewless);
// [host thread] The open path clears the mark again when a later open is not one without views.
void ClearOpenedWithoutViews();
