// What each platform does as the program starts; one implementation per platform, picked by
// the build: app/platform_desktop.cpp, windows/platform_windows.cpp, web/browser.cpp.
#pragma once

// Called once the window exists and its callbacks are registered, before the scene's first
// set-up. The title is the window's.
void adaptToPlatform(const char* windowTitle);
