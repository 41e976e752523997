#include "link/SimulatedEnsemble.h"

#include "data/ByteOrder.h"
#include "data/EnsembleReader.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

namespace
{

constexpr int BINS = 32;
constexpr int GOOD_BINS = 28;
constexpr size_t OFFSET_BINS = 22;
constexpr size_t OFFSET_VELOCITY = 23;
constexpr size_t OFFSET_RANGE = 18;

void PutS16(std::array<uint8_t, SIMULATION_TEMPLATE_SIZE>& t, size_t at, int value)
{
    WriteLeS16(&t[at], static_cast<int16_t>(value));
}

std::array<uint8_t, SIMULATION_TEMPLATE_SIZE> MakeTemplate()
{
    std::array<uint8_t, SIMULATION_TEMPLATE_SIZE> t{};
    t[0] = t[1] = 0x8F;
    PutS16(t, 2, static_cast<int>(SIMULATION_TEMPLATE_SIZE)); // 87, 1
    PutS16(t, 4, 1);                                          // ensemble number
    PutS16(t, 6, 2004);                                       // 212, 7
    t[8] = 9;                                                 // month
    t[9] = 9;                                                 // day
    t[10] = 9;
    t[11] = 34;
    t[12] = 10;
    PutS16(t, 14, -50); // pitch
    PutS16(t, 16, 84);  // roll
    WriteLeS32(&t[OFFSET_RANGE], 12211);
    t[OFFSET_BINS] = BINS;
    // A river profile: slow near the unit, fastest about a third across, slowing toward the
    // far bank; a little cross flow. The last bins reach past the far bank and are bad.
    for (int b = 0; b < BINS; ++b) {
        const size_t at = OFFSET_VELOCITY + 4 * static_cast<size_t>(b);
        if (b >= GOOD_BINS) {
            PutS16(t, at, -32768);
            PutS16(t, at + 2, -32768);
            continue;
        }
        PutS16(t, at, 480 - (b - 10) * (b - 10));
        PutS16(t, at + 2, (b % 5) * 6 - 12);
    }
    // Amplitudes of the two beams fall off with distance.
    const size_t amplitudes = OFFSET_VELOCITY + 4 * BINS;
    for (int b = 0; b < BINS; ++b) {
        t[amplitudes + 2 * static_cast<size_t>(b)] = static_cast<uint8_t>(190 - 4 * b);
        t[amplitudes + 2 * static_cast<size_t>(b) + 1] = static_cast<uint8_t>(186 - 4 * b);
    }
    // The bytes after the amplitudes are not read by this program; they stay 0.
    return t;
}

// 1 +- f^4, f in [0, 1), from two draws of the generator.
double Factor(const RandomSource& random)
{
    const unsigned r1 = random();
    const unsigned r2 = random();
    const double f = static_cast<double>(r1 % 1000) / 1000.0;
    const double s = (r2 % 2 == 1) ? 1.0 : -1.0;
    return 1.0 + s * f * f * f * f;
}

template <typename T> T TruncateInto(double value)
{
    // Truncation toward zero, kept inside the field so that a wild template cannot overflow.
    const double lo = static_cast<double>(std::numeric_limits<T>::min());
    const double hi = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::clamp(std::trunc(value), lo, hi));
}

} // namespace

const std::array<uint8_t, SIMULATION_TEMPLATE_SIZE>& SimulationTemplate()
{
    static const std::array<uint8_t, SIMULATION_TEMPLATE_SIZE> t = MakeTemplate();
    return t;
}

RandomSource ProgramRandom()
{
    struct Shared {
        std::mutex mutex;
        std::minstd_rand engine{
            static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count())};
    };
    static const std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    return [s = shared] {
        std::lock_guard lock(s->mutex);
        return static_cast<unsigned>(s->engine());
    };
}

bool BuildSimulatedEnsemble(CEnsembleReader& reader, const CDateTime& now, const RandomSource& random)
{
    const auto& t = SimulationTemplate();
    reader.Reset();
    for (size_t i = 0; i < 4; ++i)
        reader.AddByte(t[i]);
    const int size = reader.GetSize();
    if (size < 18 || static_cast<size_t>(size) > t.size())
        return false;
    std::vector<uint8_t> buffer(t.begin(), t.begin() + size);
    const int bins = buffer[OFFSET_BINS];
    if (size < 4 * bins + 23)
        return false;

    for (int b = 0; b < bins; ++b) {
        const size_t at = OFFSET_VELOCITY + 4 * static_cast<size_t>(b);
        const double factor = Factor(random);
        const int16_t x = ReadLeS16(&buffer[at]);
        if (x != -32768)
            WriteLeS16(&buffer[at], TruncateInto<int16_t>(x * factor));
    }
    const double factor = Factor(random);
    const int32_t range = ReadLeS32(&buffer[OFFSET_RANGE]);
    WriteLeS32(&buffer[OFFSET_RANGE], TruncateInto<int32_t>(range * factor));

    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (now.GetParts(year, month, day, hour, minute, second)) {
        buffer[8] = static_cast<uint8_t>(month);
        buffer[9] = static_cast<uint8_t>(day);
        buffer[10] = static_cast<uint8_t>(hour);
        buffer[11] = static_cast<uint8_t>(minute);
        buffer[12] = static_cast<uint8_t>(second);
    }
    for (int i = 4; i < size; ++i)
        reader.AddByte(buffer[static_cast<size_t>(i)]);
    return reader.HasEnsemble();
}
