#pragma once

// The scratch files of one fuzzing process. The readers take file names, so
// every input is written to a file first; the files go to memory-backed
// /dev/shm when it exists (a disk-backed /tmp makes each run ten times
// slower), are named after the process so parallel jobs never share one, and
// are removed with the object.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class FuzzScratchFile {
public:
    // extension with its dot, e.g. ".png"
    FuzzScratchFile(const char* role, const char* extension)
        : m_path(directory() + "/tesserine-fuzz-" + std::to_string(getpid()) + "-" + role + extension)
    {
    }
    ~FuzzScratchFile() { std::remove(m_path.c_str()); }
    FuzzScratchFile(const FuzzScratchFile&) = delete;
    FuzzScratchFile& operator=(const FuzzScratchFile&) = delete;

    const char* path() const { return m_path.c_str(); }

    bool write(const uint8_t* data, size_t size) const
    {
        FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file)
            return false;
        const bool ok = std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && ok;
    }

private:
    static std::string directory()
    {
        if (const char* dir = std::getenv("TMPDIR"); dir && *dir)
            return dir;
        struct stat info;
        if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0)
            return "/dev/shm";
        return "/tmp";
    }

    std::string m_path;
};
