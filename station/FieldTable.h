#pragma once
// A record's stored fields as one table: each field's name (the member name, which is also
// the key of the tool's JSON dump) and where its value lives. The same table drives the
// record's reading and writing where the stored order is the table's order, the JSON dump,
// and copies, so that a field is listed once.
#include "data/ChannelGeometry.h"
#include "data/DateTime.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

class CCalcSet;
class CCommandList;
class CGraphPrefs;
class CStationArchive;
class CDataSummary;

using ModelCoefs = double[4];

template <typename Record> struct SField {
    // Each alternative returns the field of a record; the type tells how it is stored.
    using Access =
        std::variant<int32_t& (*)(Record&), uint16_t& (*)(Record&), uint8_t& (*)(Record&),
                     double& (*)(Record&), std::string& (*)(Record&), CDateTime& (*)(Record&),
                     ModelCoefs& (*)(Record&), CChannelGeometry& (*)(Record&), CCommandList& (*)(Record&),
                     CGraphPrefs& (*)(Record&), std::vector<std::unique_ptr<CDataSummary>>& (*)(Record&),
                     std::vector<std::unique_ptr<CCalcSet>>& (*)(Record&)>;

    const char* m_pszName;
    Access m_at;
};

// Copies each field of the table from one record to another (lists deeply).
template <typename Record>
void CopyFields(Record& to, const Record& from, std::span<const SField<Record>> fields)
{
    for (const SField<Record>& field : fields) {
        std::visit(
            [&](auto at) {
                auto& target = at(to);
                const auto& source = at(const_cast<Record&>(from));
                using T = std::remove_reference_t<decltype(target)>;
                if constexpr (std::is_array_v<T>) {
                    std::copy(std::begin(source), std::end(source), std::begin(target));
                } else if constexpr (requires { source.front().get(); }) {
                    target.clear();
                    for (const auto& element : source)
                        target.push_back(std::make_unique<typename T::value_type::element_type>(*element));
                } else {
                    target = source;
                }
            },
            field.m_at);
    }
}
