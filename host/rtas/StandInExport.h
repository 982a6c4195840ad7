#pragma once
// Marks a function that a stand-in host library exports: C linkage and visible to the dynamic
// loader (the libraries are built with hidden visibility otherwise).
#define KESTRUNE_HOST_EXPORT extern "C" __attribute__ ((visibility ("default")))
