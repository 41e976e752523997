#include "link/HexDumpTap.h"

#include "platform/Utf8Path.h"

#include <cmath>

namespace
{

constexpr size_t kBytesPerLine = 16;
constexpr long long kMsPerDay = 86400000LL;

} // namespace

CHexDumpTap::CHexDumpTap(const std::string& path) : m_pFile(OpenFileUtf8(path, "wb"))
{
}

CHexDumpTap::~CHexDumpTap()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

std::string CHexDumpTap::FormatTime(const CDateTime& time)
{
    // CDateTime::Format rounds to the second; the trace needs the milliseconds.
    const long long total = std::llround(time.m_dt * static_cast<double>(kMsPerDay));
    long long days = total / kMsPerDay;
    long long ms = total % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    char clock[16];
    std::snprintf(clock, sizeof clock, "T%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return CDateTime(static_cast<double>(days)).Format("%Y-%m-%d") + clock;
}

std::string CHexDumpTap::FormatChunk(ETapDirection direction, const uint8_t* data, size_t size,
                                     const CDateTime& time)
{
    char head[64];
    std::snprintf(head, sizeof head, "%s %c %6zu  ", FormatTime(time).c_str(),
                  direction == ETapDirection::in ? '<' : '>', size);
    const std::string indent(std::string(head).size(), ' ');
    std::string text;
    for (size_t at = 0; at < size; at += kBytesPerLine) {
        text += at == 0 ? head : indent;
        std::string ascii;
        for (size_t i = 0; i < kBytesPerLine; ++i) {
            if (at + i < size) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x", data[at + i]);
                text += hex;
                const uint8_t byte = data[at + i];
                ascii.push_back(byte >= 0x20 && byte < 0x7f ? static_cast<char>(byte) : '.');
            } else {
                text += "  ";
            }
            if (i + 1 < kBytesPerLine)
                text.push_back(' ');
        }
        text += "  |" + ascii + "|\n";
    }
    return text;
}

void CHexDumpTap::OnBytes(ETapDirection direction, const uint8_t* data, size_t size, const CDateTime& time)
{
    if (m_pFile && size > 0)
        Put(FormatChunk(direction, data, size, time));
}

void CHexDumpTap::OnEvent(ETapEvent event, int value, const CDateTime& time)
{
    if (!m_pFile)
        return;
    std::string what;
    switch (event) {
    case ETapEvent::lineBreak:
        what = "break " + std::to_string(value) + " ms";
        break;
    case ETapEvent::baud:
        what = "baud " + std::to_string(value);
        break;
    case ETapEvent::purge:
        what = "purge";
        break;
    case ETapEvent::close:
        what = "close";
        break;
    }
    Put(FormatTime(time) + " --  " + what + "\n");
}

void CHexDumpTap::Put(const std::string& text)
{
    // Written through at once: a trace is read most when the program did not end well.
    std::lock_guard lock(m_mutex);
    std::fwrite(text.data(), 1, text.size(), m_pFile);
    std::fflush(m_pFile);
}
