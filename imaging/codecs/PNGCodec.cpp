// PNG files through libpng: FNImage::loadPNG and FNImage::savePNG.
//
// Reading takes every kind of PNG libpng reads: palette and grey of 1, 2, 4
// and 8 bits, grey with alpha, RGB and RGBA, 16-bit samples of every type,
// interlaced or not. libpng's transformations turn them all into the
// picture's own pixels (B, G, R, A bytes) while decoding: palettes and low
// grey depths are expanded, transparency (tRNS) becomes alpha for every
// type, grey is copied to the three colours, and 16-bit samples are scaled
// to 8 bits by libpng's exact scaling (round(v * 255 / 65535)), not by
// dropping the low byte. Writing always produces 8-bit RGB or RGBA with a
// gAMA chunk of 1.0.
//
// libpng reports errors by jumping back to the setjmp of the current call.
// Every call therefore keeps all it owns (library structures, the scratch
// picture) in one job object that outlives the jump; the function holding
// the setjmp only returns false after a jump, and the job's destructor
// releases everything on every path.
#include "imaging/FNImage.h"
#include "imaging/codecs/CodecSupport.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"
#include "imaging/codecs/ImageLimits.h"
#include "imaging/codecs/RowConversion.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char* const kCannotRead = "PNGファイルを読み込めませんでした\n";
const char* const kNothingToSave = "データが作成されていません:\n";
const char* const kBadBitCount = "bitcountの値が不正です：32bitで保存します。";

// The file's signature is checked on its first 4 bytes here; libpng checks
// the other 4.
constexpr size_t kSignatureBytes = 4;

// Deflate expands data by at most 1032:1, so a file can never decode to more
// row bytes than this multiple of its own size. Checking it before the
// picture is made keeps a few hundred bytes that claim a huge picture from
// allocating gigabytes for rows that cannot exist.
constexpr int64_t kMaxDeflateExpansion = 1032;

// libpng's own side limit is set to the format's (2^31 - 1), so that the
// size check below, not libpng, refuses pictures too large for the editor.
constexpr png_uint_32 kFormatMaxSide = 0x7FFFFFFFu;

// Library messages are not shown: a failure becomes the adapter's own
// message, and warnings (unknown chunks, odd profiles) change nothing.
void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void quietWarning(png_structp, png_const_charp) { }

void rowWritten(png_structp, png_uint_32, int) { }

// ---- Reading --------------------------------------------------------------

struct PNGReadJob {
    FNFileReader* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    FNImage decoded { 0, 0 }; // the picture, made once the header is accepted
    std::vector<png_bytep> rows; // into decoded
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    FNImageFailure failure = FNImageFailure::NotThisFormat;
    bool endedEarly = false; // the file ended before libpng had what it needed

    PNGReadJob() = default;
    PNGReadJob(const PNGReadJob&) = delete;
    PNGReadJob& operator=(const PNGReadJob&) = delete;
    ~PNGReadJob()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// libpng's input: the reader, noting a file that ends early (or fails) so
// that the failure can say so.
void readBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* job = static_cast<PNGReadJob*>(png_get_io_ptr(png));
    if (job->file->read(data, length) != length) {
        job->endedEarly = true;
        png_error(png, "file ends early");
    }
}

// Every input layout to B, G, R, A with 8-bit samples.
void requestPicturePixels(png_structp png, png_infop info)
{
    const int colorType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    // Opaque types get alpha 255 after the colours.
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Reads the header, makes the picture and decodes every row straight into
// it. Nothing here may need destruction: a library error lands on the
// setjmp and returns false at once.
bool readPNGFile(PNGReadJob& job)
{
    png_byte signature[kSignatureBytes];
    const size_t got = job.file->read(signature, kSignatureBytes);
    if (got < kSignatureBytes || png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
        // A file that stops inside a PNG signature is a cut-off PNG.
        const bool prefix = got < kSignatureBytes && png_sig_cmp(signature, 0, got) == 0;
        job.failure = prefix || got == 0 ? FNImageFailure::Truncated : FNImageFailure::NotThisFormat;
        return false;
    }
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (setjmp(png_jmpbuf(job.png)))
        return false;

    png_set_user_limits(job.png, kFormatMaxSide, kFormatMaxSide);
    // Only the chunks the picture needs are read; every other one (text,
    // profiles, gamma, ...) is skipped unread. libpng would otherwise
    // allocate a text chunk whose header claims 2 GiB before finding that
    // the file ends long before.
    png_set_keep_unknown_chunks(job.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_read_fn(job.png, &job, readBytes);
    png_set_sig_bytes(job.png, kSignatureBytes);
    png_read_info(job.png, job.info);
    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    if (!pictureSizeAcceptable(int64_t(job.width), int64_t(job.height))) {
        job.failure = FNImageFailure::TooLarge;
        return false;
    }
    const int64_t storedBytes = int64_t(png_get_rowbytes(job.png, job.info)) * job.height;
    if (storedBytes > kMaxDeflateExpansion * job.file->size()) {
        job.failure = FNImageFailure::Truncated;
        return false;
    }
    requestPicturePixels(job.png, job.info);
    if (!job.decoded.tryCreate(int(job.width), int(job.height))) {
        job.failure = FNImageFailure::OutOfMemory;
        return false;
    }
    job.rows.resize(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y)
        job.rows[y] = reinterpret_cast<png_bytep>(job.decoded.row(int(y)));
    png_read_image(job.png, job.rows.data());
    png_read_end(job.png, nullptr);
    return true;
}

bool decodePNG(FNImage& image, FNFileReader& file, const FNString& fileName)
{
    PNGReadJob job;
    job.file = &file;
    if (!readPNGFile(job)) {
        FNImageFailure why = job.endedEarly ? FNImageFailure::Truncated : job.failure;
        if (file.error())
            why = readFailureOf(file.error());
        return failWith(image, why, kCannotRead, fileName,
            why == FNImageFailure::ReadFailed ? systemReason(file.error()) : FNString("PNG"));
    }
    image.takePixels(job.decoded);
    return true;
}

// ---- Writing --------------------------------------------------------------

struct PNGWriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;

    PNGWriteJob() = default;
    PNGWriteJob(const PNGWriteJob&) = delete;
    PNGWriteJob& operator=(const PNGWriteJob&) = delete;
    ~PNGWriteJob()
    {
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

bool writePNGFile(PNGWriteJob& job, FILE* file, int width, int height, bool alpha, png_bytepp rows)
{
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (setjmp(png_jmpbuf(job.png)))
        return false;

    png_init_io(job.png, file);
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

const ImageFormat kPNGFormat { "PNG", kPNGExtensions, kCannotRead, decodePNG };

bool FNImage::loadPNG(const FNString& fileName)
{
    return loadAs(*this, fileName, kPNGFormat);
}

bool FNImage::savePNG(const FNString& fileName, int bitCount)
{
    if (!created)
        return failWith(*this, FNImageFailure::NothingToSave, kNothingToSave, fileName);
    if (!extensionIs(fileName, kPNGExtensions))
        return failWith(*this, FNImageFailure::WrongExtension, kWrongExtensionText, fileName, "PNG");
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
    // A failed write reports by its result and failure alone: the message
    // is left as it was.
    FNFileWriter writer;
    if (!writer.open(fileName, false))
        return failWrite(*this, writer, nullptr, fileName);
    PNGWriteJob job;
    if (!writePNGFile(job, writer.handle(), width, height, alpha, rows.data())) {
        writer.noteStreamError();
        return failWrite(*this, writer, nullptr, fileName);
    }
    if (!writer.close())
        return failWrite(*this, writer, nullptr, fileName);
    return true;
}
