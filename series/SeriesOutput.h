#pragma once
// Where an export writes: a buffer of its own, passed on in large blocks to standard
// output, to a file, or kept in memory (tests). A file named by the user is written under a
// temporary name beside it and renamed over it only when complete, so a failed or stopped
// export never leaves a half-written file under that name.
#include "platform/FileWrite.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CSeriesOutput
{
  public:
    // Into memory: Text() holds everything written.
    CSeriesOutput();
    // To an open descriptor that stays the caller's (standard output: 1).
    explicit CSeriesOutput(int fd);
    ~CSeriesOutput();
    CSeriesOutput(const CSeriesOutput&) = delete;
    CSeriesOutput& operator=(const CSeriesOutput&) = delete;

    // A file written atomically: false with the reason when the temporary file cannot be
    // made. Commit then renames it; anything else (or destruction) removes it.
    bool OpenFile(const std::string& path, std::string& error);

    void Write(const char* text, size_t size)
    {
        if (size > m_buffer.size() - m_nUsed)
            Flush();
        if (size > m_buffer.size() - m_nUsed) {
            Pass(text, size);
            return;
        }
        std::copy(text, text + size, m_buffer.data() + m_nUsed);
        m_nUsed += size;
    }
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    void Put(char c)
    {
        if (m_nUsed == m_buffer.size())
            Flush();
        m_buffer[m_nUsed++] = c;
    }
    // A value in its shortest form that reads back to the same double.
    void WriteNumber(double value);

    // False once anything failed to be written.
    bool Good() const { return m_bGood; }
    const std::string& Error() const { return m_strError; }
    // Flushes; for a file also syncs, renames it to its name and returns whether all of it
    // arrived there.
    bool Commit();
    // Drops a file being written (a stopped export).
    void Abandon();

    const std::string& Text() const { return m_strText; }

  private:
    void Flush();
    void Pass(const char* data, size_t size);
    void Fail(const std::string& what);

    std::vector<char> m_buffer;
    size_t m_nUsed = 0;
    int m_fd = -1;      // a descriptor of the caller's
    CAtomicFile m_file; // or a file of our own
    bool m_bMemory = false;
    bool m_bGood = true;
    std::string m_strError;
    std::string m_strText;
};
