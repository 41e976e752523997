#pragma once
// The settings message the Flow Computer takes after its wake bytes: 251 bytes, little-endian,
// floats in single precision, integers from doubles truncated toward zero, quantities in the
// station's internal units together with its display unit codes.
//
//   offset   0  FD 00                 start marker (253)
//            2  units, 4-20 mA ranges, bad-data handling, totalizer    (system block)
//           47  forced depth, velocity range, model, mounting, TCF...  (velocity model block)
//           86  channel code, Z-ADCP, 40 channel parameters            (channel block)
//          251  end; no length field, no checksum
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CStation;

class CFlowComputerMessage
{
  public:
    static constexpr size_t MESSAGE_SIZE = 251;
    // Where the blocks start; the sender reports progress at these boundaries.
    static constexpr size_t SYSTEM_OFFSET = 2;
    static constexpr size_t VELOCITY_OFFSET = 47;
    static constexpr size_t CHANNEL_OFFSET = 86;
    static constexpr size_t ZADCP_OFFSET = 87;
    static constexpr size_t PARAMETER_OFFSET = 91;
    static constexpr int PARAMETER_COUNT = 40;

    // Builds the message of a station. Fails, leaving bytes empty, when the channel type is
    // not one the Flow Computer knows: without a channel code every later field would land
    // one byte early and the unit would misread the whole channel block.
    static bool Build(const CStation& station, std::vector<uint8_t>& bytes, std::string* error = nullptr);

    // The channel code and the 40 parameters for a geometry type (false for an unknown type).
    static bool ChannelParameters(const CStation& station, uint8_t& code,
                                  float (&parameters)[PARAMETER_COUNT]);

    // A double as an integer of the given width: truncated toward zero, held to the range of
    // the field (a value that does not fit is sent as the nearest one that does, not wrapped).
    static int64_t Truncate(double value, int64_t lowest, int64_t highest);
};
