#pragma once
// The screensaver's one program-wide record: the module state and the engine's world. Owned by
// SaverApp and passed by reference to the windows.
#include <cstdint>
#include <string>

#include "engine/saverworld.h"

namespace bx {

inline constexpr int saverMajorVersion = 2;
inline constexpr int saverMinorVersion = 0;
inline constexpr const char* saverTitle = "bramblex2ss"; // the title of its message boxes
inline constexpr const char* saverHelpFileName = "bramblexss.hlp";
// The saver's timers wake it every 4 ms; each tick steps the columns due at one a millisecond
// (a wake-up a column would cost more than the world does).
inline constexpr int saverTickInterval = 4;

struct SaverModule {
    bool previewMode = false;     // running inside another program's window
    int64_t previewParent = 0;    // the host window of the preview, or the password owner
    bool previewAttached = false; // picPreview is still inside the host window
    bool passwordCheckActive = false;
    std::string versionText;
    SaverWorld world; // holds saverMode and squareSizeSetting too
};

} // namespace bx
