#include "data/MovingAverage.h"

#include "data/NoData.h"

#include <cstdlib>

namespace
{

constexpr int WINDOW = 10;

bool IsNumberText(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == '+'))
            return false;
    }
    return true;
}

template <typename CellAt> double Average(size_t rows, CellAt cellAt)
{
    double sum = 0.0;
    int count = 0;
    for (size_t row = rows; row-- > 2 && count < WINDOW;) {
        const std::string* text = cellAt(row);
        if (!text || !IsNumberText(*text))
            continue;
        // The decimal value of the leading number, as the table's text reads.
        const double value = std::strtod(text->c_str(), nullptr);
        if (value == -32768.0)
            continue;
        sum += value;
        ++count;
    }
    return count > 0 ? sum / count : NODATA;
}

} // namespace

double MovingAverage(const std::vector<std::string>& cells)
{
    return Average(cells.size(), [&](size_t row) { return &cells[row]; });
}

double MovingAverage(const std::vector<std::vector<std::string>>& table, size_t column)
{
    return Average(table.size(),
                   [&](size_t row) { return column < table[row].size() ? &table[row][column] : nullptr; });
}

double MovingAverage(size_t rows, const std::function<bool(size_t row, std::string& text)>& cellAt)
{
    std::string text;
    return Average(rows, [&](size_t row) { return cellAt(row, text) ? &text : nullptr; });
}
