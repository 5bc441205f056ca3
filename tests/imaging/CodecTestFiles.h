#pragma once

// Helpers of the codec tests: a temporary directory per test, little-endian
// byte builders for hand-made files, seeded pictures, and the pixel tables
// of the committed fixtures.

#include "TempDir.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace codectest {

namespace fs = std::filesystem;

inline void writeBytes(const FNString& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> readBytes(const FNString& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Appends little-endian fields: Bytes().u8(1).u16(2).u32(3).
class Bytes {
public:
    Bytes& u8(unsigned v)
    {
        m_bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8 & 0xFF); }
    Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Bytes& raw(std::initializer_list<unsigned> values)
    {
        for (unsigned v : values)
            u8(v);
        return *this;
    }
    Bytes& zeros(size_t count)
    {
        m_bytes.insert(m_bytes.end(), count, 0);
        return *this;
    }
    size_t size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    operator const std::vector<uint8_t>&() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// The pixel at (x, y) as 0xAARRGGBB.
inline uint32_t pixel(const FNImage& image, int x, int y)
{
    return image.row(y)[x];
}

// Every pixel of the picture, top row first, as 0xAARRGGBB words.
inline std::vector<uint32_t> allPixels(const FNImage& image)
{
    std::vector<uint32_t> words;
    for (int y = 0; y < image.height; ++y)
        words.insert(words.end(), image.row(y), image.row(y) + image.width);
    return words;
}

// A picture of the given size with seeded random colours; alpha random too
// or 255 everywhere.
inline void fillRandom(FNImage& image, int width, int height, uint32_t seed, bool randomAlpha)
{
    image.resize(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t word = static_cast<uint32_t>(random());
            image.row(y)[x] = randomAlpha ? word : (word | 0xFF000000u);
        }
    }
}

struct ExpectedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // top row first, 0xAARRGGBB
};

// Reads expected.txt of a fixture directory: "name width height" and then
// height lines of width hex words per file.
inline std::map<std::string, ExpectedPicture> readExpectations(const std::string& directory)
{
    std::map<std::string, ExpectedPicture> table;
    std::ifstream in(directory + "/expected.txt");
    std::string name;
    ExpectedPicture picture;
    while (in >> name >> picture.width >> picture.height) {
        picture.pixels.assign(size_t(picture.width) * picture.height, 0);
        for (uint32_t& word : picture.pixels)
            in >> std::hex >> word >> std::dec;
        table[name] = picture;
    }
    return table;
}

// One file a loader must refuse: what is wrong with it, its bytes and, where
// given, the cause the picture must report.
struct RefusedFile {
    const char* what;
    std::vector<uint8_t> bytes;
    FNImageFailure why = FNImageFailure::None;
};

// Writes each file to `path` and loads it with `loader` into a 2 x 1 picture
// whose first pixel is marked: every load must fail with `message` and leave
// the picture as it was (created, same size, same pixels).
inline void expectRefused(const std::vector<RefusedFile>& files, const FNString& path,
    bool (FNImage::*loader)(const FNString&), const FNString& message)
{
    for (const RefusedFile& file : files) {
        writeBytes(path, file.bytes);
        FNImage image(2, 1);
        image.setColor(0, 0, 10, 20, 30, 40);
        EXPECT_FALSE((image.*loader)(path)) << file.what;
        EXPECT_EQ(image.message, message) << file.what;
        if (file.why != FNImageFailure::None) {
            EXPECT_EQ(image.failure, file.why) << file.what;
        }
        EXPECT_TRUE(image.created) << file.what;
        ASSERT_EQ(image.width, 2) << file.what;
        ASSERT_EQ(image.height, 1) << file.what;
        EXPECT_EQ(pixel(image, 0, 0), 0x280A141Eu) << file.what;
        EXPECT_EQ(pixel(image, 1, 0), 0xFFFFFFFFu) << file.what;
    }
}

inline std::string fixtureDirectory(const char* format)
{
    return std::string(TESSERINE_TEST_DATA) + "/" + format;
}

// The committed fixture `name` of a format cut after each of `lengths`
// bytes (a length past the end counts back from it: -1 drops the last byte).
inline std::vector<RefusedFile> cutFixture(const char* format, const char* name, std::initializer_list<long> lengths)
{
    const std::vector<uint8_t> whole = readBytes(FNString(fixtureDirectory(format) + "/" + name));
    std::vector<RefusedFile> cuts;
    for (long length : lengths) {
        const size_t kept = length >= 0 ? size_t(length) : whole.size() - size_t(-length);
        cuts.push_back({ name, std::vector<uint8_t>(whole.begin(), whole.begin() + std::min(kept, whole.size())),
            FNImageFailure::Truncated });
    }
    return cuts;
}

} // namespace codectest
