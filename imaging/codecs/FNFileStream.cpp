#include "imaging/codecs/FNFileStream.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Mode of a new file when no file is replaced: what fopen would give.
constexpr int kNewFileMode = 0666;
// Names tried for the temporary file before giving up.
constexpr int kTemporaryAttempts = 100;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a symbolic link finally names; the path itself otherwise.
std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

} // namespace

// ---- Reader ---------------------------------------------------------------

FNFileReader::~FNFileReader()
{
    close();
}

bool FNFileReader::open(const FNString& fileName)
{
    if (isOpen)
        return false;
    m_error = 0;
    m_file = std::fopen(fileName.c_str(), "rb");
    if (!m_file) {
        m_error = errno;
        return false;
    }
    struct stat info;
    if (fstat(fileno(m_file), &info) != 0)
        m_error = errno;
    else if (S_ISDIR(info.st_mode))
        m_error = EISDIR; // a folder opens for reading but holds no bytes
    if (m_error) {
        close();
        return false;
    }
    m_size = S_ISREG(info.st_mode) ? int64_t(info.st_size) : 0;
    isOpen = true;
    return true;
}

size_t FNFileReader::read(void* buffer, size_t count)
{
    if (!isOpen || count == 0)
        return 0;
    const size_t got = std::fread(buffer, 1, count, m_file);
    if (got < count && std::ferror(m_file) && !m_error)
        m_error = errno ? errno : EIO;
    return got;
}

size_t FNFileReader::peek(void* buffer, size_t count)
{
    const size_t got = read(buffer, count);
    if (isOpen)
        std::rewind(m_file);
    return got;
}

std::vector<uint8_t> FNFileReader::readAll()
{
    std::vector<uint8_t> bytes;
    if (!isOpen)
        return bytes;
    const long start = std::ftell(m_file);
    if (start < 0 || start >= m_size)
        return bytes;
    bytes.resize(static_cast<size_t>(m_size - start));
    bytes.resize(read(bytes.data(), bytes.size()));
    return bytes;
}

void FNFileReader::close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    isOpen = false;
}

// ---- Writer ---------------------------------------------------------------

FNFileWriter::~FNFileWriter()
{
    abandon();
}

void FNFileWriter::noteError(int error)
{
    if (!m_error)
        m_error = error ? error : EIO;
}

void FNFileWriter::noteStreamError()
{
    noteError(m_file && std::ferror(m_file) ? errno : EIO);
}

bool FNFileWriter::open(const FNString& fileName, bool append)
{
    if (isOpen)
        return false;
    m_error = 0;
    m_temporary.clear();
    m_target = fileName.str();
    struct stat info;
    if (stat(m_target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            noteError(EISDIR);
            return false;
        }
        if (append || !S_ISREG(info.st_mode))
            return openInPlace(m_target, append);
        m_target = resolved(m_target);
        return openTemporary(m_target, int(info.st_mode & 07777));
    }
    // No file yet. A link that points nowhere is written through, in place.
    if (append || lstat(m_target.c_str(), &info) == 0)
        return openInPlace(m_target, append);
    return openTemporary(m_target, -1);
}

bool FNFileWriter::openInPlace(const std::string& path, bool append)
{
    m_file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!m_file) {
        noteError(errno);
        return false;
    }
    isOpen = true;
    return true;
}

// A new name beside the target (hidden, with the process number and a count
// so writers of the same folder do not meet); created exclusively with the
// target's mode, or the usual mode of a new file (the umask applies).
bool FNFileWriter::openTemporary(const std::string& target, int mode)
{
    static unsigned counter = 0;
    const std::string stem = folderOf(target) + "/." + baseNameOf(target) + ".part-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string name = stem + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            noteError(errno);
            return false;
        }
        if (mode >= 0)
            fchmod(fd, mode_t(mode));
        m_file = fdopen(fd, "wb");
        if (!m_file) {
            noteError(errno);
            ::close(fd);
            unlink(name.c_str());
            return false;
        }
        m_temporary = name;
        isOpen = true;
        return true;
    }
    noteError(EEXIST);
    return false;
}

bool FNFileWriter::write(const void* buffer, size_t count)
{
    if (!isOpen)
        return false;
    if (std::fwrite(buffer, 1, count, m_file) == count)
        return true;
    noteError(errno);
    return false;
}

bool FNFileWriter::close()
{
    if (!isOpen)
        return m_error == 0;
    if (std::fflush(m_file) != 0 || std::ferror(m_file))
        noteError(errno);
    // The data reaches the disk before the name does, so a crash leaves
    // either the old file or the whole new one.
    if (!m_error && !m_temporary.empty() && fsync(fileno(m_file)) != 0)
        noteError(errno);
    if (std::fclose(m_file) != 0)
        noteError(errno);
    m_file = nullptr;
    isOpen = false;
    if (!m_temporary.empty()) {
        if (!m_error && std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            noteError(errno);
        if (m_error)
            unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    return m_error == 0;
}

void FNFileWriter::abandon()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    isOpen = false;
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
}
