#pragma once
// The host's key map: 16 bytes, one bit per key code (code k is bit k % 8 of byte k / 8).

// [window thread] Whether the key of that code (0-127) is down now; false for any other code.
bool IsKeyDown (int keyCode);
