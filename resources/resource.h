#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_TOLVARING 1
// The common controls' manifest, for the activation context the program makes itself.
// Manifest IDs 1 to 16 are the loader's own (MAXIMUM_RESERVED_MANIFEST_RESOURCE_ID, winuser.h).
#define IDR_COMMON_CONTROLS_MANIFEST 100
