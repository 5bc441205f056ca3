// PNG files through libpng: FNImage::loadPNG and FNImage::savePNG.
//
// Reading takes the rows exactly as the file stores them (no libpng
// transformations) and converts the layouts the editor supports; writing
// always produces 8-bit RGB or RGBA with a gAMA chunk of 1.0.
//
// libpng reports errors by jumping back to the setjmp of the current call.
// Every call therefore keeps all it owns (file, library structures, row
// memory) in one job object that outlives the jump; the function holding the
// setjmp only returns false after a jump, and the job's destructor releases
// everything on every path.
#include "imaging/FNImage.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/ImageLimits.h"
#include "imaging/codecs/RowConversion.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

const char* const kCannotRead = "PNGファイルを読み込めませんでした\n";
const char* const kDepth16 = "色深度が16bitのPNGには対応していません\n";
const char* const kUnsupported = "FNImage::loadPNG() - 非対応のPNGデータです\n";
const char* const kNothingToSave = "データが作成されていません:\n";
const char* const kBadBitCount = "bitcountの値が不正です：32bitで保存します。";

// The file's signature is checked on its first 4 bytes only.
constexpr size_t kSignatureBytes = 4;

// Deflate expands data by at most 1032:1, so a file can never decode to more
// row bytes than this multiple of its own size. Checking it before the row
// memory is made keeps a few hundred bytes that claim a huge picture from
// allocating gigabytes for rows that cannot exist.
constexpr int64_t kMaxDeflateExpansion = 1032;

// Library messages are not shown: a failure becomes the adapter's own
// message, and warnings (unknown chunks, odd profiles) change nothing.
void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void quietWarning(png_structp, png_const_charp) { }

void rowWritten(png_structp, png_uint_32, int) { }

int64_t fileSize(FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return -1;
    return size;
}

// ---- Reading --------------------------------------------------------------

struct PNGReadJob {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> data; // height rows of rowBytes, as stored in the file
    std::vector<png_bytep> rows;
    size_t rowBytes = 0;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int channels = 0;

    PNGReadJob() = default;
    PNGReadJob(const PNGReadJob&) = delete;
    PNGReadJob& operator=(const PNGReadJob&) = delete;
    ~PNGReadJob()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file)
            std::fclose(file);
    }
};

// Opens the file and reads every row. Nothing here may need destruction:
// a library error lands on the setjmp and returns false at once.
bool readPNGFile(PNGReadJob& job, const char* path)
{
    job.file = std::fopen(path, "rb");
    if (!job.file)
        return false;
    const int64_t size = fileSize(job.file);
    png_byte signature[kSignatureBytes];
    if (size < 0 || std::fread(signature, 1, kSignatureBytes, job.file) != kSignatureBytes
        || png_sig_cmp(signature, 0, kSignatureBytes) != 0)
        return false;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (setjmp(png_jmpbuf(job.png)))
        return false;

    // libpng refuses wider or taller headers itself, before any row memory.
    png_set_user_limits(job.png, kMaxPictureSide, kMaxPictureSide);
    png_init_io(job.png, job.file);
    png_set_sig_bytes(job.png, kSignatureBytes);
    png_read_info(job.png, job.info);
    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    job.rowBytes = png_get_rowbytes(job.png, job.info);
    job.bitDepth = png_get_bit_depth(job.png, job.info);
    job.colorType = png_get_color_type(job.png, job.info);
    job.channels = png_get_channels(job.png, job.info);
    if (!pictureSizeAcceptable(int64_t(job.width), int64_t(job.height)))
        return false;
    if (int64_t(job.rowBytes) * job.height > kMaxDeflateExpansion * size)
        return false;

    // Zeroed: interlaced passes of sub-byte pixels merge into existing bytes.
    job.data.assign(job.rowBytes * job.height, 0);
    job.rows.resize(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y)
        job.rows[y] = job.data.data() + y * job.rowBytes;
    png_read_image(job.png, job.rows.data());
    png_read_end(job.png, nullptr);
    return true;
}

enum class Layout { Unsupported, RGB, RGBA, Palette, Grey, Grey1 };

Layout layoutOf(int colorType, int bitDepth)
{
    if (bitDepth == 8) {
        switch (colorType) {
        case PNG_COLOR_TYPE_RGB:
            return Layout::RGB;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return Layout::RGBA;
        case PNG_COLOR_TYPE_PALETTE:
            return Layout::Palette;
        case PNG_COLOR_TYPE_GRAY:
            return Layout::Grey;
        default:
            return Layout::Unsupported;
        }
    }
    if (bitDepth == 1 && colorType == PNG_COLOR_TYPE_GRAY)
        return Layout::Grey1;
    return Layout::Unsupported;
}

// All 256 entries as B, G, R, A words; entries the file does not define are
// opaque black, so every 8-bit index is in range. tRNS gives the alpha of the
// first entries: transparent palette pictures are the usual cut-out parts.
std::vector<uint32_t> paletteTable(png_structp png, png_infop info)
{
    std::vector<uint32_t> table(256, 0xFF000000u);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) & PNG_INFO_PLTE) {
        for (int i = 0; i < count && i < 256; ++i)
            table[i] = 0xFF000000u | uint32_t(palette[i].red) << 16 | uint32_t(palette[i].green) << 8 | palette[i].blue;
    }
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, nullptr) & PNG_INFO_tRNS) {
        for (int i = 0; i < alphaCount && i < 256; ++i)
            table[i] = (table[i] & 0x00FFFFFFu) | uint32_t(alpha[i]) << 24;
    }
    return table;
}

uint32_t opaqueGrey(uint32_t value)
{
    return 0xFF000000u | value * 0x010101u;
}

// Writes every pixel of `image` (already made at the file's size) from the
// stored rows. Output words are 0xAARRGGBB, i.e. bytes B, G, R, A.
void convertRows(const PNGReadJob& job, Layout layout, FNImage& image)
{
    const std::vector<uint32_t> palette
        = layout == Layout::Palette ? paletteTable(job.png, job.info) : std::vector<uint32_t>();
    const size_t width = size_t(image.width);
    for (int y = 0; y < image.height; ++y) {
        const png_byte* in = job.rows[y];
        uint32_t* out = image.row(y);
        switch (layout) {
        case Layout::RGB:
            rowconversion::rgbToPixels(in, out, width);
            break;
        case Layout::RGBA:
            rowconversion::rgbaToPixels(in, out, width);
            break;
        case Layout::Palette:
            for (size_t x = 0; x < width; ++x)
                out[x] = palette[in[x]];
            break;
        case Layout::Grey:
            for (size_t x = 0; x < width; ++x)
                out[x] = opaqueGrey(in[x]);
            break;
        case Layout::Grey1: // most significant bit first; set = 255
            for (size_t x = 0; x < width; ++x)
                out[x] = opaqueGrey((in[x >> 3] >> (7 - (x & 7)) & 1) ? 255 : 0);
            break;
        case Layout::Unsupported:
            break;
        }
    }
}

// ---- Writing --------------------------------------------------------------

struct PNGWriteJob {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    PNGWriteJob() = default;
    PNGWriteJob(const PNGWriteJob&) = delete;
    PNGWriteJob& operator=(const PNGWriteJob&) = delete;
    ~PNGWriteJob()
    {
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
        close();
    }
    // False when buffered data could not be written out.
    bool close()
    {
        FILE* f = file;
        file = nullptr;
        return !f || std::fclose(f) == 0;
    }
};

bool writePNGFile(PNGWriteJob& job, const char* path, int width, int height, bool alpha, png_bytepp rows)
{
    job.file = std::fopen(path, "wb");
    if (!job.file)
        return false;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (setjmp(png_jmpbuf(job.png)))
        return false;

    png_init_io(job.png, job.file);
    png_set_write_status_fn(job.png, rowWritten);
    png_set_filter(job.png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_compression_level(job.png, 9);
    png_set_IHDR(job.png, job.info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA(job.png, job.info, 1.0);
    png_write_info(job.png, job.info);
    png_write_image(job.png, rows);
    png_write_end(job.png, job.info);
    return true;
}

} // namespace

bool FNImage::loadPNG(const FNString& fileName)
{
    if (!extensionIs(fileName, kPNGExtensions)) {
        message = kWrongExtensionText + fileName;
        return false;
    }
    PNGReadJob job;
    if (!readPNGFile(job, fileName.c_str())) {
        message = kCannotRead + fileName;
        return false;
    }
    std::fclose(job.file);
    job.file = nullptr;

    if (job.bitDepth == 16) {
        message = kDepth16 + fileName;
        return false;
    }
    const Layout layout = layoutOf(job.colorType, job.bitDepth);
    if (layout == Layout::Unsupported) {
        // Refused before the buffer is replaced, so the picture stays as it was.
        message
            = kUnsupported + fileName + "\n" + "channels = " + job.channels + "\n" + "depth = " + job.bitDepth + "\n";
        return false;
    }
    create(int(job.width), int(job.height));
    convertRows(job, layout, *this);
    created = true;
    return true;
}

bool FNImage::savePNG(const FNString& fileName, int bitCount)
{
    if (!created) {
        message = kNothingToSave + fileName;
        return false;
    }
    if (!extensionIs(fileName, kPNGExtensions)) {
        message = kWrongExtensionText + fileName;
        return false;
    }
    if (bitCount != 24 && bitCount != 32) {
        message = kBadBitCount;
        bitCount = 32;
    }
    const bool alpha = bitCount == 32;
    const size_t rowBytes = size_t(width) * (alpha ? 4 : 3);
    std::vector<png_byte> data(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = data.data() + y * rowBytes;
    // B, G, R, A in the picture -> R, G, B (, A) in the file
    const size_t count = size_t(width) * height;
    if (alpha)
        rowconversion::pixelsToRGBA(row(0), data.data(), count);
    else
        rowconversion::pixelsToRGB(row(0), data.data(), count);
    PNGWriteJob job;
    const bool written = writePNGFile(job, fileName.c_str(), width, height, alpha, rows.data());
    return job.close() && written;
}
