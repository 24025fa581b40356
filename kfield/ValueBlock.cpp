#include "ValueBlock.h"

#include "LineWriter.h"

#include <algorithm>

namespace kfield {
namespace {

constexpr char kFieldSeparator = '\x14'; // DC4
constexpr char kGroupEnd = '\x0F';       // SI

using Table = std::map<std::int64_t, std::string>;

// The entry for group k; the groups go up one by one, so the position moves through the table once.
std::string_view entry(const Table& table, Table::const_iterator& position, std::int64_t k)
{
    while (position != table.end() && position->first < k)
        ++position;
    return position != table.end() && position->first == k ? std::string_view(position->second) : std::string_view();
}

} // namespace

void writeValueBlock(LineWriter& out, const ValueTables& tables, const std::string& measurementDateTime)
{
    const std::int64_t groups = std::max<std::int64_t>(1, tables.CharacteristicCount());
    auto codeList = tables.CodeListTable.lower_bound(1);
    auto number = tables.NumberTable.lower_bound(1);
    std::string group;
    for (std::int64_t k = 1; k <= groups; ++k) {
        const bool recorded = k <= tables.CharacteristicCount();
        const bool first = k == 1;
        const auto index = static_cast<std::size_t>(k - 1);
        const auto firstOnly = [first](const std::string& text) { return first ? std::string_view(text) : std::string_view(); };
        const std::string_view fields[] = {
            recorded ? std::string_view(tables.ValueTable[index]) : std::string_view(),
            !recorded ? "" : tables.ValueValid[index] ? "0" : "255",
            firstOnly(measurementDateTime),
            entry(tables.CodeListTable, codeList, k),
            firstOnly(tables.RunIdentText),
            firstOnly(tables.RunNumber6),
            firstOnly(tables.RunNumber7),
            entry(tables.NumberTable, number, k),
        };
        group.clear();
        for (std::size_t field = 0; field < std::size(fields); ++field) {
            if (field > 0)
                group += kFieldSeparator;
            appendLineSafe(group, fields[field]);
        }
        group += kGroupEnd;
        out.text(group);
    }
    out.endLine();
    if (!tables.Line0053.empty())
        out.line(lineSafe(tables.Line0053));
    if (!tables.Line0012.empty())
        out.line(lineSafe(tables.Line0012));
}

} // namespace kfield
