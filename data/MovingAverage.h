#pragma once
// The moving average row of the real-time table.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The average of up to the ten most recent displayed values of one column. cells holds the
// column's texts by table row: row 0 is the title, row 1 the moving average itself, data
// from row 2 on. A cell counts when it is not empty, holds only digits and ".,-+", and its
// value is not -32768. NODATA when no cell counts.
double MovingAverage(const std::vector<std::string>& cells);

// The same over a whole table given by rows.
double MovingAverage(const std::vector<std::vector<std::string>>& table, size_t column);

// The same over a column read on demand: cellAt(row, text) fills the text of a table row
// (numbered as above, data from row 2 up to rows - 1) and returns false when it has none.
// Only the rows the average needs are asked for, newest first.
double MovingAverage(size_t rows, const std::function<bool(size_t row, std::string& text)>& cellAt);
