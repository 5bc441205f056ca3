#include "imaging/codecs/FNFileStream.h"

FNFileReader::~FNFileReader()
{
    close();
}

bool FNFileReader::open(const FNString& fileName)
{
    if (isOpen)
        return false;
    m_stream.open(fileName.c_str(), std::ios::binary | std::ios::in);
    if (!m_stream.is_open())
        return false;
    m_stream.seekg(0, std::ios::end);
    m_size = static_cast<int64_t>(m_stream.tellg());
    m_stream.seekg(0, std::ios::beg);
    if (m_size < 0) {
        // A directory opens as a stream on Linux but has no size.
        m_stream.close();
        m_size = 0;
        return false;
    }
    isOpen = true;
    return true;
}

size_t FNFileReader::read(void* buffer, size_t count)
{
    if (!isOpen || count == 0)
        return 0;
    m_stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    const std::streamsize got = m_stream.gcount();
    if (!m_stream)
        m_stream.clear();
    return static_cast<size_t>(got);
}

std::vector<uint8_t> FNFileReader::readAll()
{
    std::vector<uint8_t> bytes;
    if (!isOpen)
        return bytes;
    const int64_t start = static_cast<int64_t>(m_stream.tellg());
    if (start < 0 || start >= m_size)
        return bytes;
    bytes.resize(static_cast<size_t>(m_size - start));
    bytes.resize(read(bytes.data(), bytes.size()));
    return bytes;
}

void FNFileReader::close()
{
    if (m_stream.is_open())
        m_stream.close();
    isOpen = false;
}

FNFileWriter::~FNFileWriter()
{
    close();
}

bool FNFileWriter::open(const FNString& fileName, bool append)
{
    if (isOpen)
        return false;
    const auto mode = std::ios::binary | std::ios::out | (append ? std::ios::app : std::ios::trunc);
    m_stream.open(fileName.c_str(), mode);
    isOpen = m_stream.is_open();
    return isOpen;
}

bool FNFileWriter::write(const void* buffer, size_t count)
{
    if (!isOpen)
        return false;
    m_stream.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(count));
    return static_cast<bool>(m_stream);
}

bool FNFileWriter::close()
{
    if (!m_stream.is_open()) {
        isOpen = false;
        return true;
    }
    m_stream.flush();
    bool ok = static_cast<bool>(m_stream);
    m_stream.close();
    ok = ok && !m_stream.fail();
    isOpen = false;
    return ok;
}
