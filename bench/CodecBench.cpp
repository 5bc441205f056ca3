// W4 (PNG) and W5 (JPEG): save photo(1200, 1200, 7, canvas) and load it
// back through the FNImage adapters, and the same work done by calling
// libpng and libjpeg directly with the same settings, so the adapters'
// own cost (pixel conversion, row buffers, checks) can be read off; the
// same for a 16-bit PNG, which the adapter scales to 8 bits.
//
// Files go to $TMPDIR, else /dev/shm, else /tmp: the figures are about the
// codecs, not the disk.
#include "bench/BenchInputs.h"
#include "imaging/FNImage.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSide = 1200;
constexpr int kJPEGQuality = 85;

std::string scratchPath(const char* extension)
{
    std::string dir = "/tmp";
    struct stat info;
    if (const char* env = std::getenv("TMPDIR"); env && *env)
        dir = env;
    else if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0)
        dir = "/dev/shm";
    return dir + "/tesserine-codecbench-" + std::to_string(getpid()) + extension;
}

// The benchmark picture, made once (before any timed loop asks for it).
FNImage& photo()
{
    static const std::unique_ptr<FNImage> image = makePhoto(kSide, kSide, 7, PhotoLook::Canvas);
    return *image;
}

// The photo's pixels as the byte rows the libraries take: R, G, B (, A).
std::vector<uint8_t> libraryRows(int channels)
{
    const FNImage& image = photo();
    std::vector<uint8_t> rows;
    rows.reserve(size_t(image.width) * image.height * channels);
    for (size_t i = 0; i < image.byteCount(); i += 4) {
        const uint8_t* p = image.pixels + i;
        rows.insert(rows.end(), { p[2], p[1], p[0] });
        if (channels == 4)
            rows.push_back(p[3]);
    }
    return rows;
}

template <typename T> std::vector<T*> rowPointers(std::vector<uint8_t>& data, int height)
{
    std::vector<T*> rows(height);
    const size_t stride = data.size() / height;
    for (int y = 0; y < height; ++y)
        rows[y] = data.data() + y * stride;
    return rows;
}

void removeFile(const std::string& path)
{
    std::remove(path.c_str());
}

// ---- libpng directly ----------------------------------------------------------

void writePNGDirect(const char* path, png_bytepp rows, int depth = 8, int colorType = PNG_COLOR_TYPE_RGB_ALPHA)
{
    FILE* file = std::fopen(path, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        std::abort();
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, kSide, kSide, depth, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA(png, info, 1.0);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// Returns the decoded bytes so the work cannot be optimised away; 16-bit
// samples are scaled to 8 bits as the adapter scales them.
std::vector<uint8_t> readPNGDirect(const char* path)
{
    FILE* file = std::fopen(path, "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        std::abort();
    png_init_io(png, file);
    png_read_info(png, info);
    if (png_get_bit_depth(png, info) == 16) {
        png_set_scale_16(png);
        png_read_update_info(png, info);
    }
    const int height = int(png_get_image_height(png, info));
    std::vector<uint8_t> data(png_get_rowbytes(png, info) * height);
    std::vector<png_bytep> rows = rowPointers<png_byte>(data, height);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return data;
}

// A 16-bit RGB copy of the photo (each sample v followed by a varying low
// byte), the kind ImageMagick writes by default; only libpng writes it.
void writePNG16Direct(const char* path)
{
    const FNImage& image = photo();
    std::vector<uint8_t> data;
    data.reserve(image.byteCount() / 4 * 6);
    for (size_t i = 0; i < image.byteCount(); i += 4) {
        for (int c : { 2, 1, 0 })
            data.insert(data.end(), { image.pixels[i + c], uint8_t(image.pixels[i + c] ^ (i >> 2)) });
    }
    std::vector<png_bytep> rows = rowPointers<png_byte>(data, kSide);
    writePNGDirect(path, rows.data(), 16, PNG_COLOR_TYPE_RGB);
}

// ---- libjpeg directly -----------------------------------------------------------

void writeJPEGDirect(const char* path, JSAMPARRAY rows)
{
    FILE* file = std::fopen(path, "wb");
    jpeg_compress_struct codec;
    jpeg_error_mgr errors;
    codec.err = jpeg_std_error(&errors);
    jpeg_create_compress(&codec);
    jpeg_stdio_dest(&codec, file);
    codec.image_width = kSide;
    codec.image_height = kSide;
    codec.input_components = 3;
    codec.in_color_space = JCS_RGB;
    jpeg_set_defaults(&codec);
    jpeg_set_quality(&codec, kJPEGQuality, TRUE);
    jpeg_start_compress(&codec, TRUE);
    jpeg_write_scanlines(&codec, rows, kSide);
    jpeg_finish_compress(&codec);
    jpeg_destroy_compress(&codec);
    std::fclose(file);
}

std::vector<uint8_t> readJPEGDirect(const char* path)
{
    FILE* file = std::fopen(path, "rb");
    jpeg_decompress_struct codec;
    jpeg_error_mgr errors;
    codec.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&codec);
    jpeg_stdio_src(&codec, file);
    jpeg_read_header(&codec, TRUE);
    jpeg_start_decompress(&codec);
    const int height = int(codec.output_height);
    std::vector<uint8_t> data(size_t(codec.output_width) * codec.output_components * height);
    std::vector<JSAMPROW> rows = rowPointers<JSAMPLE>(data, height);
    while (codec.output_scanline < codec.output_height)
        jpeg_read_scanlines(&codec, &rows[codec.output_scanline], codec.output_height - codec.output_scanline);
    jpeg_finish_decompress(&codec);
    jpeg_destroy_decompress(&codec);
    std::fclose(file);
    return data;
}

// ---- W4: PNG ------------------------------------------------------------------------

void W4_png_save(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    FNImage& image = photo();
    for (auto _ : state) {
        if (!image.savePNG(path.c_str(), 32))
            state.SkipWithError("savePNG failed");
    }
    removeFile(path);
}

// Loads the PNG file at path through the adapter in every iteration.
void timePNGLoads(benchmark::State& state, const std::string& path)
{
    FNImage image;
    for (auto _ : state) {
        if (!image.loadPNG(path.c_str()))
            state.SkipWithError("loadPNG failed");
        benchmark::DoNotOptimize(image.pixels);
    }
    removeFile(path);
}

// The same file read by libpng alone.
void timeDirectPNGLoads(benchmark::State& state, const std::string& path)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readPNGDirect(path.c_str()));
    removeFile(path);
}

void W4_png_load(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    photo().savePNG(path.c_str(), 32);
    timePNGLoads(state, path);
}

void W4_png_save_direct(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    std::vector<uint8_t> data = libraryRows(4);
    std::vector<png_bytep> rows = rowPointers<png_byte>(data, kSide);
    for (auto _ : state)
        writePNGDirect(path.c_str(), rows.data());
    removeFile(path);
}

void W4_png_load_direct(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    photo().savePNG(path.c_str(), 32);
    timeDirectPNGLoads(state, path);
}

// A 16-bit file: the adapter's scaling and B, G, R, A output beside libpng's
// scaling alone.
void W4_png16_load(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    writePNG16Direct(path.c_str());
    timePNGLoads(state, path);
}

void W4_png16_load_direct(benchmark::State& state)
{
    const std::string path = scratchPath(".png");
    writePNG16Direct(path.c_str());
    timeDirectPNGLoads(state, path);
}

// ---- W5: JPEG -----------------------------------------------------------------------

void W5_jpeg_save(benchmark::State& state)
{
    const std::string path = scratchPath(".jpg");
    FNImage& image = photo();
    for (auto _ : state) {
        if (!image.saveJPEG(path.c_str(), kJPEGQuality))
            state.SkipWithError("saveJPEG failed");
    }
    removeFile(path);
}

void W5_jpeg_load(benchmark::State& state)
{
    const std::string path = scratchPath(".jpg");
    photo().saveJPEG(path.c_str(), kJPEGQuality);
    FNImage image;
    for (auto _ : state) {
        if (!image.loadJPEG(path.c_str()))
            state.SkipWithError("loadJPEG failed");
        benchmark::DoNotOptimize(image.pixels);
    }
    removeFile(path);
}

void W5_jpeg_save_direct(benchmark::State& state)
{
    const std::string path = scratchPath(".jpg");
    std::vector<uint8_t> data = libraryRows(3);
    std::vector<JSAMPROW> rows = rowPointers<JSAMPLE>(data, kSide);
    for (auto _ : state)
        writeJPEGDirect(path.c_str(), rows.data());
    removeFile(path);
}

void W5_jpeg_load_direct(benchmark::State& state)
{
    const std::string path = scratchPath(".jpg");
    photo().saveJPEG(path.c_str(), kJPEGQuality);
    for (auto _ : state)
        benchmark::DoNotOptimize(readJPEGDirect(path.c_str()));
    removeFile(path);
}

} // namespace

BENCHMARK(W4_png_save)->Unit(benchmark::kMillisecond);
BENCHMARK(W4_png_save_direct)->Unit(benchmark::kMillisecond);
BENCHMARK(W4_png_load)->Unit(benchmark::kMillisecond);
BENCHMARK(W4_png_load_direct)->Unit(benchmark::kMillisecond);
BENCHMARK(W4_png16_load)->Unit(benchmark::kMillisecond);
BENCHMARK(W4_png16_load_direct)->Unit(benchmark::kMillisecond);
BENCHMARK(W5_jpeg_save)->Unit(benchmark::kMillisecond);
BENCHMARK(W5_jpeg_save_direct)->Unit(benchmark::kMillisecond);
BENCHMARK(W5_jpeg_load)->Unit(benchmark::kMillisecond);
BENCHMARK(W5_jpeg_load_direct)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
