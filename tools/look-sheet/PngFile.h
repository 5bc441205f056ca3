#pragma once

class FNImage;

// Writes the picture as an 8-bit RGBA PNG; false on any failure.
bool writeSheetPNG(const FNImage& image, const char* path);
