#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <fstream>
#include <vector>

// Binary file streams used by the codecs. File names are UTF-8 and are
// passed to the system as they are; no locale switching is needed. Each
// codec call owns its stream for the call's duration.
class FNFileReader {
public:
    FNFileReader() = default;
    virtual ~FNFileReader();

    // Fails when already open or when the file cannot be opened.
    bool open(const FNString& fileName);
    // Reads up to count bytes; returns how many were read (0 when closed).
    size_t read(void* buffer, size_t count);
    // Reads the whole rest of the file (the codecs decode from memory).
    std::vector<uint8_t> readAll();
    int64_t size() const { return m_size; }
    void close();

    bool isOpen = false;

private:
    std::ifstream m_stream;
    int64_t m_size = 0;
};

class FNFileWriter {
public:
    FNFileWriter() = default;
    virtual ~FNFileWriter();

    bool open(const FNString& fileName, bool append);
    // Writes count bytes; false when closed or when the write failed.
    bool write(const void* buffer, size_t count);
    // Flushes and closes; false when anything written did not reach the file.
    bool close();

    bool isOpen = false;

private:
    std::ofstream m_stream;
};
