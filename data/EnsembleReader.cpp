#include "data/EnsembleReader.h"

#include "data/BufferedReader.h"

#include <cstring>

void CEnsembleReader::Reset()
{
    m_nCount = 0;
    m_nTotal = 0;
    m_buffer.clear();
}

int CEnsembleReader::HeaderTotal() const
{
    const auto length = static_cast<int16_t>(m_header[2] | (m_header[3] << 8));
    int total = length + 2;
    if (m_header[0] == ID_PD14)
        total -= 2;
    return total;
}

void CEnsembleReader::AddByte(uint8_t b)
{
    switch (m_nCount) {
    case 0:
        if (b == ID_PD0 || b == ID_PD14) {
            m_header[0] = b;
            m_nCount = 1;
        } else {
            Reset();
        }
        return;
    case 1:
        if ((b == ID_PD0 || b == ID_PD14) && b == m_header[0]) {
            m_header[1] = b;
            m_nCount = 2;
        } else {
            Reset();
        }
        return;
    case 2:
        m_header[2] = b;
        m_nCount = 3;
        return;
    case 3: {
        m_header[3] = b;
        m_nCount = 4;
        const int total = HeaderTotal();
        if (total < MIN_TOTAL || total > MAX_TOTAL) {
            Reset();
            return;
        }
        m_nTotal = total;
        m_buffer.assign(static_cast<size_t>(total), 0);
        std::memcpy(m_buffer.data(), m_header, 4);
        return;
    }
    default:
        if (m_nCount < m_nTotal)
            m_buffer[static_cast<size_t>(m_nCount++)] = b;
        return;
    }
}

uint8_t CEnsembleReader::GetByte(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_buffer.size())
        return 0;
    return m_buffer[static_cast<size_t>(i)];
}

bool CEnsembleReader::ReadNext(CBufferedReader& file)
{
    Reset();
    for (;;) {
        const uint8_t* data = nullptr;
        const size_t available = file.Peek(data);
        if (available == 0)
            return false;
        const size_t taken = Feed(data, available);
        file.Skip(taken);
        if (HasEnsemble())
            return true;
    }
}

size_t CEnsembleReader::Feed(const uint8_t* data, size_t size, size_t* start, bool keepBytes)
{
    size_t i = 0;
    size_t headerAt = npos;
    if (m_nCount >= 4 && m_nCount < m_nTotal) {
        // Body of an ensemble whose header came in an earlier call.
        const size_t want = static_cast<size_t>(m_nTotal - m_nCount);
        const size_t n = want < size ? want : size;
        std::memcpy(m_buffer.data() + m_nCount, data, n);
        m_nCount += static_cast<int>(n);
        i = n;
    }
    while (i < size && !HasEnsemble()) {
        if (m_nCount == 0) {
            // Fast scan for the next possible first byte; everything else resets a reset framer.
            while (i < size && data[i] != ID_PD0 && data[i] != ID_PD14)
                ++i;
            if (i == size)
                break;
            headerAt = i;
        }
        if (m_nCount == 3 && !keepBytes && headerAt != npos) {
            // The whole ensemble lies in data when its header does: frame it without a copy.
            m_header[3] = data[i++];
            const int total = HeaderTotal();
            if (total < MIN_TOTAL || total > MAX_TOTAL) {
                Reset();
                continue;
            }
            if (size - i >= static_cast<size_t>(total - 4)) {
                i += static_cast<size_t>(total - 4);
                m_nTotal = total;
                m_nCount = total;
                break;
            }
            // Only part of the body is here: fall back to the buffer.
            m_nCount = 4;
            m_nTotal = total;
            m_buffer.assign(static_cast<size_t>(total), 0);
            std::memcpy(m_buffer.data(), m_header, 4);
            continue;
        }
        if (m_nCount < 4) {
            AddByte(data[i++]);
            continue;
        }
        const size_t want = static_cast<size_t>(m_nTotal - m_nCount);
        const size_t n = want < size - i ? want : size - i;
        std::memcpy(m_buffer.data() + m_nCount, data + i, n);
        m_nCount += static_cast<int>(n);
        i += n;
    }
    if (start)
        *start = HasEnsemble() ? headerAt : npos;
    return i;
}
