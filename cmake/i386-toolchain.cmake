# Builds the i386 configuration on an x86-64 Debian machine with the multiarch libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# SSE arithmetic: single-precision steps round as written, not in x87 extended precision.
# 64-bit file offsets: directory entries whose offsets do not fit 32 bits (ext4's hashes, as a
# 64-bit kernel or user-mode emulation hands them out) are read instead of ending the listing.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu)
list(APPEND CMAKE_PREFIX_PATH /usr/lib/i386-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")
set(KESTRUNE_I386 ON CACHE BOOL "i386 build" FORCE)
