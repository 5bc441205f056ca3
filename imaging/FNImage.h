#pragma once

#include "imaging/FNImageFailure.h"
#include "imaging/FNString.h"

#include <cstdint>

class FNStringStyle;

// FNImage: the one picture type. width x height pixels of 4 bytes, rows top
// to bottom with no padding; bytes blue, green, red, alpha (255 opaque, not
// premultiplied), so a pixel read as a little-endian word is 0xAARRGGBB.
// New buffers are opaque white.
//
// Ownership: an image owns its pixel memory (16-byte aligned heap memory)
// and releases it in clear() and in its destructor. Images are held and
// passed by pointer and are never copied by value; copyFrom() copies pixels.
// Thread: the application thread only; images carry no lock.
class FNImage {
public:
    FNImage();
    FNImage(int width, int height);
    virtual ~FNImage();

    FNImage(const FNImage&) = delete;
    FNImage& operator=(const FNImage&) = delete;

    // ---- Size ------------------------------------------------------------
    // Makes an unfilled buffer of the given size and leaves created false;
    // the caller fills every pixel before setting created. (Loaders use
    // tryCreate below, which can fail.)
    void create(int width, int height);
    bool clear();
    // A value <= 0 becomes 1; the same size keeps the contents; otherwise a
    // new opaque white buffer.
    bool resize(int width, int height);

    // ---- Pixel access (coordinates outside the picture are ignored) -------
    int getAlpha(int x, int y) const;
    void getColor(int x, int y, int& red, int& green, int& blue) const;
    void setColor(int x, int y, int red, int green, int blue);
    void setColor(int x, int y, int red, int green, int blue, int alpha);
    void fill(int red, int green, int blue, int alpha);
    bool copyFrom(const FNImage* source);

    // ---- Picture operations ----------------------------------------------
    // Alpha paste of source with its top-left corner at (x, y); w and h are
    // the source's size. The destination's alpha is never changed.
    void drawImage(const FNImage* source, int x, int y, int w, int h);
    bool flip(bool horizontal, bool vertical);
    // Scales to newWidth x newHeight and rotates by angleDegrees about the
    // centre; the result is the bounding box of the rotated picture.
    bool transform(int newWidth, int newHeight, double angleDegrees);
    // Anti-aliased straight band; color is 0xAARRGGBB.
    void drawLine(uint32_t color, double x0, double y0, double x1, double y1, double thickness);
    // Draws text with a style (null: the default style); clip values of -1
    // stand for the image's own edges. Implemented with the text renderer.
    void drawString(const FNStringStyle* style, int x, int y, int clipX, int clipY, int clipWidth, int clipHeight,
        bool writeAlpha, const FNString& text);

    // ---- Files -----------------------------------------------------------
    // load accepts the extensions of the four formats; a file whose first
    // bytes are the signature of another of them (PNG, JPEG, BMP) is read as
    // that format. save chooses the format by the extension alone. A failure
    // returns false, leaves the picture as it was, and keeps the Japanese
    // text in message and the cause in failure (failureText() in English).
    // Saving writes a temporary file beside the target and renames it over
    // the target only when the whole picture was written, so a failed save
    // leaves an existing file as it was.
    bool load(const FNString& fileName);
    bool save(const FNString& fileName);
    bool loadBMP(const FNString& fileName);
    bool saveBMP(const FNString& fileName);
    bool loadTGA(const FNString& fileName);
    bool saveTGA(const FNString& fileName, int bitCount);
    bool loadPNG(const FNString& fileName);
    bool savePNG(const FNString& fileName, int bitCount);
    bool loadJPEG(const FNString& fileName);
    bool saveJPEG(const FNString& fileName, int quality);

    uint32_t* row(int y) { return reinterpret_cast<uint32_t*>(pixels) + static_cast<size_t>(y) * width; }
    const uint32_t* row(int y) const
    {
        return reinterpret_cast<const uint32_t*>(pixels) + static_cast<size_t>(y) * width;
    }
    size_t byteCount() const { return static_cast<size_t>(width) * static_cast<size_t>(height) * 4; }

    // Makes an unfilled buffer like create(), but returns false and leaves
    // the picture as it was when the memory cannot be had.
    bool tryCreate(int width, int height);
    // Takes over source's pixels (source becomes empty, created false) and
    // sets created: the last step of a loader that decoded into a scratch
    // picture, so a failed decode never touches this one.
    void takePixels(FNImage& source);
    // "file is truncated", "No space left on device", ...: the cause of the
    // last failure in a few English words; empty when none is recorded.
    FNString failureText() const { return FNImageFailureText(failure, failureDetail); }

    bool created = false;
    FNString message;
    FNImageFailure failure = FNImageFailure::None;
    // What failure names: the variant, the format or the system's reason.
    FNString failureDetail;
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;

private:
    void releaseBuffer();
};
