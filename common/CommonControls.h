#pragma once
// The common controls of version 6, with visual styles, for the windows that show them: the
// setup dialog and the message boxes. They are not in the program's own manifest: with
// them there, Windows loads comctl32 for the first standard control of any window, the
// status window's label too, and every hand-off would pay for what only these windows use.
// Windows made on this thread while a CommonControls6 lives get them, from the manifest
// resource IDR_COMMON_CONTROLS_MANIFEST ("Enabling Visual Styles", "Activation
// Contexts", CreateActCtx, learn.microsoft.com), at an ID above the loader's reserved 1 to 16.
// Where the context cannot be made, the windows get the plain controls.
#include <windows.h>

class CommonControls6 {
  public:
    CommonControls6();
    ~CommonControls6();
    CommonControls6(const CommonControls6&) = delete;
    CommonControls6& operator=(const CommonControls6&) = delete;

  private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
