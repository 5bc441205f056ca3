#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Binary file streams used by the codecs. File names are UTF-8 and are
// passed to the system as they are; no locale switching is needed. Each
// codec call owns its stream for the call's duration. Both streams keep the
// system's error number of their first failure in error(), from which the
// codecs tell a missing file from a folder or a full disk.

class FNFileReader {
public:
    FNFileReader() = default;
    virtual ~FNFileReader();
    FNFileReader(const FNFileReader&) = delete;
    FNFileReader& operator=(const FNFileReader&) = delete;

    // Fails when already open or when the file cannot be opened for reading;
    // a folder fails with EISDIR.
    bool open(const FNString& fileName);
    // Reads up to count bytes; returns how many were read (0 when closed).
    size_t read(void* buffer, size_t count);
    // Reads the whole rest of the file (the own-format codecs decode from
    // memory); error() is non-zero when the system failed part way.
    std::vector<uint8_t> readAll();
    // Reads up to count bytes from the start and goes back to the start.
    size_t peek(void* buffer, size_t count);
    int64_t size() const { return m_size; }
    // The open file, for libraries that read through the C runtime.
    FILE* handle() const { return m_file; }
    void close();
    int error() const { return m_error; }

    bool isOpen = false;

private:
    FILE* m_file = nullptr;
    int64_t m_size = 0;
    int m_error = 0;
};

// A file is written in full or not at all: open() makes a temporary file in
// the target's folder, and close() renames it over the target only when
// every byte reached it (a symbolic link is followed, so the file it points
// to is replaced). A failure, or abandon(), removes the temporary file and
// leaves the target as it was. Targets that are not plain files (devices
// such as /dev/full) and appending are written in place.
class FNFileWriter {
public:
    FNFileWriter() = default;
    // Abandons a file that was not closed.
    virtual ~FNFileWriter();
    FNFileWriter(const FNFileWriter&) = delete;
    FNFileWriter& operator=(const FNFileWriter&) = delete;

    // Fails with EISDIR when the target is a folder.
    bool open(const FNString& fileName, bool append);
    // Writes count bytes; false when closed or when the write failed.
    bool write(const void* buffer, size_t count);
    // The open file, for libraries that write through the C runtime.
    FILE* handle() const { return m_file; }
    // Flushes, syncs, closes and renames; false when anything written did
    // not reach the file, and then the target is untouched.
    bool close();
    // Drops what was written; the target stays as it was.
    void abandon();
    // Records the system's error of a library's failed write through
    // handle() (the library itself reports only that it failed).
    void noteStreamError();
    int error() const { return m_error; }

    bool isOpen = false;

private:
    bool openInPlace(const std::string& path, bool append);
    bool openTemporary(const std::string& target, int mode);
    void noteError(int error);

    FILE* m_file = nullptr;
    std::string m_target; // the file that close() replaces
    std::string m_temporary; // empty when writing in place
    int m_error = 0;
};
