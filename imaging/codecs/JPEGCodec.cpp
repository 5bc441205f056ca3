// JPEG files through libjpeg (6b interface): FNImage::loadJPEG and
// FNImage::saveJPEG.
//
// libjpeg reports fatal errors through the error manager's exit method,
// which here jumps back to the setjmp of the current call. Everything a call
// owns (codec object, row memory) lives in one job object that outlives the
// jump (the file belongs to the caller's reader or writer); the function holding the setjmp only returns false
// after a jump, and the job's destructor releases everything on every path.
#include "imaging/FNImage.h"
#include "imaging/codecs/CodecSupport.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"
#include "imaging/codecs/ImageLimits.h"
#include "imaging/codecs/RowConversion.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <vector>

namespace {

const char* const kCannotRead = "ファイルの読込に失敗しました\n";
const char* const kNothingToSave = "データが作成されていません:\n";
const char* const kCannotWrite = "ファイルの書き込みに失敗しました\n";

// Upper bound of libjpeg's own working memory for one decode. Only
// progressive and multi-scan files keep whole-picture coefficient buffers
// (2 bytes per sample, before the data is read). The figure is arbitrary:
// it admits progressive photos of about 170 megapixels (4:2:0) or 85 (4:4:4)
// and turns a short header that claims more into an ordinary failure
// instead of a giant allocation.
constexpr long kMaxDecoderMemory = 512L << 20;

// A progressive file may split its data into any number of scans, and each
// scan walks the whole picture again; real files have about ten. The figure
// is arbitrary, far above what any encoder writes.
constexpr int kMaxScans = 1000;

// Pixels per byte of file above which a colour picture is not decoded
// straight into a picture made at once. Photos take one to three bits a
// pixel, and a flat picture coded with the library's standard tables about
// 64 pixels a byte; past this only flat pictures with optimised tables go.
// The figure only chooses between two ways of decoding, both correct.
constexpr int64_t kMaxPixelsPerByte = 128;

// ---- Error record ---------------------------------------------------------

// The standard error manager with the fatal exit and the message output
// replaced: library texts are formatted but never shown.
struct JPEGErrorRecord {
    jpeg_error_mgr manager; // first member: libjpeg hands back &manager
    std::jmp_buf jump;
    void (*standardEmit)(j_common_ptr, int) = nullptr;
    char lastError[JMSG_LENGTH_MAX] = {};
    int lastCode = 0; // libjpeg's code of the fatal error
};

// Unused by the library and by us; it only names the codec's owner.
struct JPEGClientRecord {
    char text[64] = "FNImage JPEG Proc";
};

JPEGErrorRecord& recordOf(j_common_ptr codec)
{
    return *reinterpret_cast<JPEGErrorRecord*>(codec->err);
}

[[noreturn]] void fatalExit(j_common_ptr codec)
{
    JPEGErrorRecord& record = recordOf(codec);
    (*codec->err->format_message)(codec, record.lastError);
    record.lastCode = codec->err->msg_code;
    std::longjmp(record.jump, 1);
}

void quietOutput(j_common_ptr codec)
{
    char text[JMSG_LENGTH_MAX];
    (*codec->err->format_message)(codec, text);
}

// Data that ends before the picture does (the file ends, or a marker comes
// where pixel data should) is only a warning to libjpeg, which then pads
// the picture with grey. Here it ends the read like any corrupt file, so a
// few bytes claiming a huge picture cannot make the whole picture be built.
void emitMessage(j_common_ptr codec, int level)
{
    const int code = codec->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        fatalExit(codec);
    recordOf(codec).standardEmit(codec, level);
}

void setUpErrors(JPEGErrorRecord& record)
{
    jpeg_std_error(&record.manager);
    record.manager.error_exit = fatalExit;
    record.manager.output_message = quietOutput;
    record.standardEmit = record.manager.emit_message;
    record.manager.emit_message = emitMessage;
}

// ---- Reading --------------------------------------------------------------

void limitScans(j_common_ptr codec)
{
    if (reinterpret_cast<j_decompress_ptr>(codec)->input_scan_number > kMaxScans)
        ERREXIT(codec, JERR_BAD_SCAN_SCRIPT);
}

struct JPEGReadJob {
    FILE* file = nullptr; // the reader's; not closed here
    int64_t fileSize = 0;
    JPEGErrorRecord error;
    JPEGClientRecord client;
    jpeg_progress_mgr progress {};
    jpeg_decompress_struct codec {};
    bool codecMade = false;
    // Decoded rows (output width x components bytes each, zeroed), made in
    // blocks as the decoder reaches them so a header alone cannot claim the
    // memory.
    std::vector<std::unique_ptr<JSAMPLE[]>> rowBlocks;
    std::vector<JSAMPROW> rowPointers;
    int width = 0;
    int height = 0;
    int components = 0;
    bool invertedCMYK = false;
    // Colour files decode straight into the picture's B, G, R, A pixels.
    bool intoPicture = false;
    FNImage decoded { 0, 0 };
    // Set where the read is refused by this adapter rather than by libjpeg.
    FNImageFailure refusal = FNImageFailure::None;
    const char* refusalDetail = "";

    JPEGReadJob() = default;
    JPEGReadJob(const JPEGReadJob&) = delete;
    JPEGReadJob& operator=(const JPEGReadJob&) = delete;
    ~JPEGReadJob()
    {
        if (codecMade)
            jpeg_destroy_decompress(&codec);
    }
};

// Rows per block of row memory: few allocations, little memory ahead of
// the decoder.
constexpr JDIMENSION kRowsPerBlock = 64;

// Gives rows first .. first + count - 1 their memory.
void provideRows(JPEGReadJob& job, JDIMENSION first, JDIMENSION count, size_t rowBytes)
{
    const JDIMENSION height = job.codec.output_height;
    for (JDIMENSION y = first; y < first + count; ++y) {
        if (job.rowPointers[y])
            continue;
        const JDIMENSION blockRows = std::min(kRowsPerBlock, height - y);
        job.rowBlocks.emplace_back(new JSAMPLE[blockRows * rowBytes]());
        for (JDIMENSION i = 0; i < blockRows; ++i)
            job.rowPointers[y + i] = job.rowBlocks.back().get() + i * rowBytes;
    }
}

// Reads every row of `rows` (one pointer per output row, made by the
// caller), each call asking for as many as the library returns at once.
void readScanlines(jpeg_decompress_struct& codec, JSAMPROW* rows)
{
    const JDIMENSION batch = JDIMENSION(std::max(codec.rec_outbuf_height, 1));
    while (codec.output_scanline < codec.output_height) {
        const JDIMENSION first = codec.output_scanline;
        const JDIMENSION count = std::min(batch, codec.output_height - first);
        if (jpeg_read_scanlines(&codec, &rows[first], count) == 0)
            ERREXIT(&codec, JERR_INPUT_EMPTY); // the stdio source never suspends
    }
}

// Straight into a scratch picture. Its memory is reserved at once but only
// the rows the decoder reaches are touched, so a short file claiming a huge
// picture, which ends at the first missing byte, makes little of it real.
bool readRowsIntoPicture(JPEGReadJob& job)
{
    jpeg_decompress_struct& codec = job.codec;
    if (!job.decoded.tryCreate(int(codec.output_width), int(codec.output_height))) {
        job.refusal = FNImageFailure::OutOfMemory;
        return false;
    }
    job.rowPointers.resize(codec.output_height);
    for (JDIMENSION y = 0; y < codec.output_height; ++y)
        job.rowPointers[y] = reinterpret_cast<JSAMPROW>(job.decoded.row(int(y)));
    readScanlines(codec, job.rowPointers.data());
    return true;
}

void readRows(JPEGReadJob& job)
{
    jpeg_decompress_struct& codec = job.codec;
    const size_t rowBytes = size_t(codec.output_width) * codec.output_components;
    const JDIMENSION batch = JDIMENSION(std::max(codec.rec_outbuf_height, 1));
    job.rowPointers.assign(codec.output_height, nullptr);
    while (codec.output_scanline < codec.output_height) {
        const JDIMENSION first = codec.output_scanline;
        const JDIMENSION count = std::min(batch, codec.output_height - first);
        provideRows(job, first, count, rowBytes);
        if (jpeg_read_scanlines(&codec, &job.rowPointers[first], count) == 0)
            ERREXIT(&codec, JERR_INPUT_EMPTY); // the stdio source never suspends
    }
}

// Decodes the whole file into the job's rows. Nothing here may need destruction:
// a library error lands on the setjmp and returns false at once.
bool readJPEGFile(JPEGReadJob& job)
{
    jpeg_decompress_struct& codec = job.codec;
    setUpErrors(job.error);
    codec.err = &job.error.manager;
    if (setjmp(job.error.jump))
        return false;
    jpeg_CreateDecompress(&codec, JPEG_LIB_VERSION, sizeof(codec));
    job.codecMade = true;
    codec.client_data = &job.client;
    codec.mem->max_memory_to_use = kMaxDecoderMemory;
    job.progress.progress_monitor = limitScans;
    codec.progress = &job.progress;
    jpeg_stdio_src(&codec, job.file);
    jpeg_read_header(&codec, TRUE);
    if (!pictureSizeAcceptable(int64_t(codec.image_width), int64_t(codec.image_height))) {
        job.refusal = FNImageFailure::TooLarge;
        return false;
    }
    // Arithmetic-coded data that runs out is padded with zeros without any
    // warning, so a short file could not be told from a complete one and a
    // few bytes could make a whole huge picture. Hardly any program writes
    // such files; they are refused.
    if (codec.arith_code) {
        job.refusal = FNImageFailure::UnsupportedVariant;
        job.refusalDetail = "arithmetic-coded JPEG";
        return false;
    }
#ifdef JCS_EXTENSIONS
    // libjpeg-turbo's extension: colour conversion writes the picture's own
    // pixel layout (alpha 255), so no second pass over the rows is needed.
    // Only for sizes a file of this length can plausibly hold: a short file
    // claiming a huge picture goes the row-block way, whose memory grows
    // only with what is decoded.
    job.intoPicture = codec.num_components == 3
        && int64_t(codec.image_width) * codec.image_height <= kMaxPixelsPerByte * job.fileSize;
    if (job.intoPicture)
        codec.out_color_space = JCS_EXT_BGRA;
#endif
    jpeg_start_decompress(&codec);
    // Grey, RGB (also YCbCr and friends, converted by the library) and CMYK.
    if (codec.output_components != 1 && codec.output_components != 3 && codec.output_components != 4) {
        job.refusal = FNImageFailure::UnsupportedVariant;
        job.refusalDetail = "JPEG colour space";
        return false;
    }
    job.width = int(codec.output_width);
    job.height = int(codec.output_height);
    job.components = codec.output_components;
    // Adobe's marker means Photoshop's convention: CMYK samples stored inverted.
    job.invertedCMYK = codec.saw_Adobe_marker;
    if (job.intoPicture) {
        if (!readRowsIntoPicture(job))
            return false;
    } else {
        readRows(job);
    }
    jpeg_finish_decompress(&codec);
    return true;
}

// x * y / 255, rounded
uint32_t scale255(uint32_t x, uint32_t y)
{
    const uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

// Output words are 0xAARRGGBB, i.e. bytes B, G, R, A; alpha is always 255.
void convertRow(const JSAMPLE* in, uint32_t* out, int width, int components, bool invertedCMYK)
{
    switch (components) {
    case 3:
        rowconversion::rgbToPixels(in, out, size_t(width));
        break;
    case 1: // grey into all three colours
        for (int x = 0; x < width; ++x)
            out[x] = 0xFF000000u | uint32_t(in[x]) * 0x010101u;
        break;
    case 4: // red = (255 - C)(255 - K) / 255, likewise green from M and blue from Y
        for (int x = 0; x < width; ++x, in += 4) {
            // c, m, y, k hold 255 - ink, which is how Adobe files store them
            uint32_t c = in[0], m = in[1], y = in[2], k = in[3];
            if (!invertedCMYK) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            out[x] = 0xFF000000u | scale255(c, k) << 16 | scale255(m, k) << 8 | scale255(y, k);
        }
        break;
    }
}

// The cause of a failed read: the adapter's refusal, the reader's error, or
// what libjpeg's fatal error says.
FNImageFailure failureOf(const JPEGReadJob& job, const FNFileReader& file)
{
    if (job.refusal != FNImageFailure::None)
        return job.refusal;
    if (file.error())
        return readFailureOf(file.error());
    switch (job.error.lastCode) {
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EMPTY:
        return FNImageFailure::Truncated;
    case JERR_OUT_OF_MEMORY:
        return FNImageFailure::OutOfMemory;
    case JERR_IMAGE_TOO_BIG:
    case JERR_NO_BACKING_STORE: // more working memory than a decode may use
        return FNImageFailure::TooLarge;
    default:
        return FNImageFailure::NotThisFormat;
    }
}

bool decodeJPEG(FNImage& image, FNFileReader& file, const FNString& fileName)
{
    JPEGReadJob job;
    job.file = file.handle();
    job.fileSize = file.size();
    if (!readJPEGFile(job)) {
        const FNImageFailure why = failureOf(job, file);
        const FNString detail = why == FNImageFailure::ReadFailed ? systemReason(file.error())
            : why == FNImageFailure::UnsupportedVariant           ? FNString(job.refusalDetail)
                                                                  : FNString("JPEG");
        return failWith(image, why, kCannotRead, fileName, detail);
    }
    jpeg_destroy_decompress(&job.codec);
    job.codecMade = false;
    file.close();

    if (job.intoPicture) {
        image.takePixels(job.decoded);
        return true;
    }
    if (!image.tryCreate(job.width, job.height))
        return failWith(image, FNImageFailure::OutOfMemory, kCannotRead, fileName);
    for (int y = 0; y < image.height; ++y)
        convertRow(job.rowPointers[y], image.row(y), image.width, job.components, job.invertedCMYK);
    image.created = true;
    return true;
}

// ---- Writing --------------------------------------------------------------

struct JPEGWriteJob {
    JPEGErrorRecord error;
    JPEGClientRecord client;
    jpeg_compress_struct codec {};
    bool codecMade = false;

    JPEGWriteJob() = default;
    JPEGWriteJob(const JPEGWriteJob&) = delete;
    JPEGWriteJob& operator=(const JPEGWriteJob&) = delete;
    ~JPEGWriteJob()
    {
        if (codecMade)
            jpeg_destroy_compress(&codec);
    }
};

bool writeJPEGFile(JPEGWriteJob& job, FILE* file, int width, int height, int quality, JSAMPARRAY rows)
{
    jpeg_compress_struct& codec = job.codec;
    setUpErrors(job.error);
    codec.err = &job.error.manager;
    if (setjmp(job.error.jump))
        return false;
    jpeg_CreateCompress(&codec, JPEG_LIB_VERSION, sizeof(codec));
    job.codecMade = true;
    codec.client_data = &job.client;
    jpeg_stdio_dest(&codec, file);
    codec.image_width = JDIMENSION(width);
    codec.image_height = JDIMENSION(height);
    codec.input_components = 3;
    codec.in_color_space = JCS_RGB;
    jpeg_set_defaults(&codec);
    jpeg_set_quality(&codec, quality, TRUE);
    jpeg_start_compress(&codec, TRUE);
    jpeg_write_scanlines(&codec, rows, JDIMENSION(height));
    jpeg_finish_compress(&codec);
    return true;
}

} // namespace

const ImageFormat kJPEGFormat { "JPEG", kJPEGExtensions, kCannotRead, decodeJPEG };

bool FNImage::loadJPEG(const FNString& fileName)
{
    return loadAs(*this, fileName, kJPEGFormat);
}

bool FNImage::saveJPEG(const FNString& fileName, int quality)
{
    if (!created)
        return failWith(*this, FNImageFailure::NothingToSave, kNothingToSave, fileName);
    if (!extensionIs(fileName, kJPEGExtensions))
        return failWith(*this, FNImageFailure::WrongExtension, kWrongExtensionText, fileName, "JPEG");
    quality = std::clamp(quality, 0, 100);
    FNFileWriter writer;
    if (!writer.open(fileName, false))
        return failWrite(*this, writer, kCannotWrite, fileName);
    const size_t rowBytes = size_t(width) * 3;
    // Not zeroed: the conversion writes every byte.
    const std::unique_ptr<JSAMPLE[]> data(new JSAMPLE[rowBytes * height]);
    std::vector<JSAMPROW> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = data.get() + y * rowBytes;
    // B, G, R, A in the picture -> R, G, B in the file; alpha is dropped
    rowconversion::pixelsToRGB(row(0), data.get(), size_t(width) * height);
    JPEGWriteJob job;
    if (!writeJPEGFile(job, writer.handle(), width, height, quality, rows.data())) {
        writer.noteStreamError();
        return failWrite(*this, writer, kCannotWrite, fileName);
    }
    if (!writer.close())
        return failWrite(*this, writer, kCannotWrite, fileName);
    return true;
}
