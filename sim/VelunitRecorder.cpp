#include "sim/VelunitRecorder.h"

#include "platform/Utf8Path.h"

#include <fstream>
#include <iterator>

CVelunitRecorder::CVelunitRecorder(std::string path) : m_strPath(std::move(path))
{
    if (m_strPath.empty())
        return;
    std::ifstream in(PathFromUtf8(m_strPath), std::ios::binary);
    if (in)
        m_arrBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CVelunitRecorder::Append(const std::vector<unsigned char>& bytes)
{
    m_arrBytes.insert(m_arrBytes.end(), bytes.begin(), bytes.end());
    if (m_strPath.empty())
        return;
    std::ofstream out(PathFromUtf8(m_strPath), std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void CVelunitRecorder::Erase()
{
    m_arrBytes.clear();
    if (!m_strPath.empty())
        std::ofstream(PathFromUtf8(m_strPath), std::ios::binary | std::ios::trunc);
}
