#pragma once

class FNImage;

// Writes the top `rows` rows of the picture as an 8-bit RGBA PNG; false on
// any failure.
bool writeSheetPNG(const FNImage& image, int rows, const char* path);
