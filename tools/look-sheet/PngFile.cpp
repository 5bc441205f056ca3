#include "PngFile.h"

#include "imaging/FNImage.h"

#include <algorithm>
#include <cstdio>
#include <png.h>
#include <vector>

bool writeSheetPNG(const FNImage& image, int rowCount, const char* path)
{
    // Fixed before setjmp: nothing the error path reads changes after it.
    const int rows = std::clamp(rowCount, 1, image.height);
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, rows, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(image.width) * 4);
    for (int y = 0; y < rows; ++y) {
        const uint8_t* p = image.pixels + static_cast<size_t>(y) * image.width * 4;
        for (int x = 0; x < image.width; ++x) {
            // B, G, R, A in the picture; R, G, B, A in the file
            row[x * 4] = p[x * 4 + 2], row[x * 4 + 1] = p[x * 4 + 1];
            row[x * 4 + 2] = p[x * 4], row[x * 4 + 3] = p[x * 4 + 3];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
