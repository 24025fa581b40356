#include "ValueBlock.h"

#include "LineWriter.h"

#include <algorithm>

namespace kfield {
namespace {

constexpr char kFieldSeparator = '\x14'; // DC4
constexpr char kGroupEnd = '\x0F';       // SI

const std::string& entry(const std::map<std::int64_t, std::string>& table, std::int64_t k)
{
    static const std::string empty;
    const auto found = table.find(k);
    return found == table.end() ? empty : found->second;
}

} // namespace

void writeValueBlock(LineWriter& out, const ValueTables& tables, const std::string& measurementDateTime)
{
    const std::int64_t groups = std::max<std::int64_t>(1, tables.CharacteristicCount());
    const std::string noText;
    std::string group;
    for (std::int64_t k = 1; k <= groups; ++k) {
        const bool recorded = k <= tables.CharacteristicCount();
        const bool first = k == 1;
        const auto index = static_cast<std::size_t>(k - 1);
        const std::string* fields[] = {
            recorded ? &tables.ValueTable[index] : &noText,
            nullptr, // the attribute, below
            first ? &measurementDateTime : &noText,
            &entry(tables.CodeListTable, k),
            first ? &tables.RunIdentText : &noText,
            first ? &tables.RunNumber6 : &noText,
            first ? &tables.RunNumber7 : &noText,
            &entry(tables.NumberTable, k),
        };
        const std::string attribute = !recorded ? "" : tables.ValueValid[index] ? "0" : "255";
        group.clear();
        for (std::size_t field = 0; field < 8; ++field) {
            if (field > 0)
                group += kFieldSeparator;
            group += field == 1 ? attribute : lineSafe(*fields[field]);
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
