#pragma once
// One description per recorded ensemble format: how its bytes are decoded and checked, where
// its values lie and how its index velocity is formed. Everything that treats the formats
// differently goes through these descriptions; a framed ensemble finds its own from its
// first byte, a decoded record from its type code.
#include "data/DataTypes.h"
#include "data/EnsembleRecord.h"

#include <cstddef>

struct SEnsembleFormat {
    uint8_t m_nFirstByte; // the header starts with this byte twice
    EnsembleType m_nType;
    const char* m_pszName; // as the data summary shows it

    // Fills the decoded facts of rec (type, cells, sections, coordinate flag) from the bytes
    // it points at (rec.m_pBytes, rec.m_nSize).
    void (*Decode)(SEnsembleRecord& rec);
    bool (*IsValid)(const SEnsembleRecord& rec);
    double (*GetNumber)(const SEnsembleRecord& rec);
    double (*GetTime)(const SEnsembleRecord& rec);
    double (*GetRange)(const SEnsembleRecord& rec);
    // A value the bytes hold; the derived values are the record's and never asked for here.
    double (*GetValue)(const SEnsembleRecord& rec, DataType dataType, int beam, int bin);
    // The along-channel velocity of bins first..last (counted from 1, within the cells),
    // each value times the sign and bad values skipped; NODATA when no value is left.
    double (*IndexVelocity)(const SEnsembleRecord& rec, int first, int last, int sign);
};

// The format whose header starts with this byte, or nullptr.
const SEnsembleFormat* FindEnsembleFormat(uint8_t firstByte);

// The format of a decoded record by its type code; nullptr for a separator.
const SEnsembleFormat* EnsembleFormatOf(unsigned type);

// Points rec at the bytes and decodes them in the format their first byte names, which it
// returns; nullptr, with rec a separator, when the bytes are too short or name no format.
const SEnsembleFormat* DecodeRecord(SEnsembleRecord& rec, const uint8_t* bytes, size_t size);
