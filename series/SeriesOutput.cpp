#include "series/SeriesOutput.h"

#include <charconv>

namespace
{

constexpr size_t BUFFER_SIZE = 1 << 20;

} // namespace

CSeriesOutput::CSeriesOutput() : m_buffer(BUFFER_SIZE), m_bMemory(true)
{
}

CSeriesOutput::CSeriesOutput(int fd) : m_buffer(BUFFER_SIZE), m_fd(fd)
{
}

CSeriesOutput::~CSeriesOutput()
{
    Abandon();
}

bool CSeriesOutput::OpenFile(const std::string& path, std::string& error)
{
    if (!m_file.Create(path, error))
        return false;
    m_fd = -1;
    m_bMemory = false;
    return true;
}

void CSeriesOutput::WriteNumber(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    Write(text, static_cast<size_t>(result.ptr - text));
}

void CSeriesOutput::Fail(const std::string& what)
{
    if (m_bGood)
        m_strError = what;
    m_bGood = false;
}

void CSeriesOutput::Pass(const char* data, size_t size)
{
    if (m_bMemory) {
        m_strText.append(data, size);
        return;
    }
    if (!m_bGood)
        return;
    std::string reason;
    const bool written =
        m_file.IsOpen() ? m_file.Write(data, size, reason) : WriteToDescriptor(m_fd, data, size, reason);
    if (!written)
        Fail(reason);
}

void CSeriesOutput::Flush()
{
    if (m_nUsed > 0)
        Pass(m_buffer.data(), m_nUsed);
    m_nUsed = 0;
}

bool CSeriesOutput::Commit()
{
    Flush();
    if (!m_file.IsOpen())
        return m_bGood;
    if (!m_bGood) {
        m_file.Abandon();
        return false;
    }
    std::string reason;
    if (!m_file.Commit(reason))
        Fail(reason);
    return m_bGood;
}

void CSeriesOutput::Abandon()
{
    m_file.Abandon();
}
