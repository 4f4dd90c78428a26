// The system DPI, and lengths designed in pixels at 96 DPI (100 %) scaled to it.
#pragma once

// The display's DPI as this program sees it: the system DPI for a program that declares itself DPI
// aware (the launcher's manifest does), 96 for one that does not (the system stretches its windows).
int SystemDpi();

// A length given in pixels at 96 DPI, in pixels at the system DPI, rounded to the nearest.
int ScaleToSystemDpi(int pixels);
