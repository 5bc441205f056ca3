#pragma once

// Helpers shared by the PNG and JPEG adapter tests: a temporary directory per
// test, whole-file reads and writes, seeded pictures and a watch on the
// largest single allocation (AddressSanitizer builds only).

#include "TempDir.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// Present only when the sanitizer runtime is linked in.
extern "C" __attribute__((weak)) int __sanitizer_install_malloc_and_free_hooks(
    void (*mallocHook)(const volatile void*, size_t), void (*freeHook)(const volatile void*));

namespace adaptertest {

using Bytes = std::vector<uint8_t>;

using codectest::TempDir;

inline Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::string dataPath(const std::string& name)
{
    return std::string(TESSERINE_TEST_DATA) + "/" + name;
}

inline uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

inline uint32_t pixelAt(const FNImage& image, int x, int y)
{
    return image.row(y)[x];
}

// Seeded noise (splitmix64), so every run sees the same pictures.
class Seeded {
public:
    explicit Seeded(uint64_t seed)
        : m_state(seed)
    {
    }
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

private:
    uint64_t m_state;
};

// Every byte (alpha too) drawn from the seeded stream.
inline std::unique_ptr<FNImage> noisePicture(int width, int height, uint64_t seed)
{
    auto image = std::make_unique<FNImage>(width, height);
    Seeded random(seed);
    for (size_t i = 0; i < image->byteCount(); ++i)
        image->pixels[i] = static_cast<uint8_t>(random.next() >> 56);
    return image;
}

// ---- Largest single allocation ---------------------------------------------

inline std::atomic<size_t>& largestAllocation()
{
    static std::atomic<size_t> largest { 0 };
    return largest;
}

inline void noteAllocation(const volatile void*, size_t size)
{
    size_t seen = largestAllocation().load();
    while (size > seen && !largestAllocation().compare_exchange_weak(seen, size)) { }
}

inline void noteFree(const volatile void*) { }

// True when allocations can be watched (the sanitizer runtime is present).
inline bool watchAllocations()
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks
        && __sanitizer_install_malloc_and_free_hooks(noteAllocation, noteFree) != 0;
    largestAllocation() = 0;
    return installed;
}

// A loader test: `image` starts as a 2 x 1 picture of 0x80112233 so that a
// failed load can be seen to leave it untouched; loadBytes writes bytes to a
// file in the test's directory and loads it with the codec under test.
class LoadingFixture : public testing::Test {
protected:
    using Loader = bool (FNImage::*)(const FNString&);

    LoadingFixture(Loader loader, std::string defaultName)
        : m_loader(loader)
        , m_defaultName(std::move(defaultName))
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        image.fill(0x11, 0x22, 0x33, 0x80);
    }

    bool loadBytes(const Bytes& bytes) { return loadBytes(bytes, m_defaultName); }
    bool loadBytes(const Bytes& bytes, const std::string& name)
    {
        path = dir.path(name);
        writeFile(path, bytes);
        return (image.*m_loader)(FNString(path));
    }

    void expectUntouched()
    {
        EXPECT_TRUE(image.created);
        ASSERT_EQ(image.width, 2);
        ASSERT_EQ(image.height, 1);
        EXPECT_EQ(pixelAt(image, 0, 0), 0x80112233u);
        EXPECT_EQ(pixelAt(image, 1, 0), 0x80112233u);
    }

    TempDir dir;
    std::string path;
    FNImage image { 2, 1 };

private:
    Loader m_loader;
    std::string m_defaultName;
};

} // namespace adaptertest
