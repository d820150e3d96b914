// Sizes the program chose in pixels at 100 % (96 dots an inch), drawn at the
// window's scale, so that the window looks the same on every monitor.
#pragma once

constexpr int StandardDpi = 96;

// How many pixels at `dpi` one pixel at 100 % becomes; 1 for a scale the
// system cannot have reported (0 or less).
double ScaleFactor(int dpi);
// `pixels` at 100 %, at `dpi`, rounded to the nearest pixel.
int ScaledPixels(int pixels, int dpi);
// The same at the main window's scale now.
int WindowPixels(int pixels);
