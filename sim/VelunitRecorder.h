#pragma once
// The simulated unit's recorder card: the bytes of every ensemble recorded while deployed,
// kept in a file so that a later run (or a download) finds them.
#include <string>
#include <vector>

class CVelunitRecorder
{
  public:
    // Empty path: the recorder lives in memory only. An existing file is read at once.
    explicit CVelunitRecorder(std::string path = {});

    void Append(const std::vector<unsigned char>& bytes);
    void Erase();
    const std::vector<unsigned char>& Bytes() const { return m_arrBytes; }

  private:
    std::string m_strPath;
    std::vector<unsigned char> m_arrBytes;
};
