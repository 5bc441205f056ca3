#pragma once

// Helpers shared by the PNG and JPEG adapter tests: a temporary directory per
// test, whole-file reads and writes, seeded pictures and a watch on the
// largest single allocation (AddressSanitizer builds only).

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

namespace codectest {

using Bytes = std::vector<uint8_t>;

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tesserine-") + info->test_suite_name() + "-" + info->name() + "-XXXXXX";
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        std::string pattern = (std::filesystem::temp_directory_path() / name).string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !m_path.empty(); }
    std::string path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

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

} // namespace codectest
