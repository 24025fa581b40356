#include "Snapshot.h"

#include "platform/PathText.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace source {
namespace {

using nlohmann::json;

json failingReadsJson(const FailingReads& reads, ModelObject object)
{
    json names = json::array();
    for (int i = 0; i < kMemberCount; ++i) {
        const auto member = static_cast<Member>(i);
        if (objectOf(member) == object && reads.contains(member))
            names.push_back(std::string(snapshotName(member)));
    }
    return names;
}

void addFailingReads(json& object, const FailingReads& reads, ModelObject kind)
{
    if (!reads.empty())
        object["failingReads"] = failingReadsJson(reads, kind);
}

} // namespace

namespace {

// errno is taken before forming the name, which allocates.
[[noreturn]] void failToRead(const std::filesystem::path& file)
{
    const int error = errno;
    throw SnapshotError(config::pathText(file), std::strerror(error));
}

std::ifstream openSnapshot(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        failToRead(file);
    return in;
}

} // namespace

void readSnapshotPieces(const std::filesystem::path& file, const std::function<void(std::string_view)>& take)
{
    std::ifstream in = openSnapshot(file);
    std::vector<char> piece(std::size_t{1} << 16);
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0)
        take(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
    if (in.bad())
        failToRead(file);
}

ApplicationRecord readSnapshotFile(const std::filesystem::path& file)
{
    std::ifstream in = openSnapshot(file);
    try {
        return parseSnapshot(in, config::pathText(file));
    } catch (const SnapshotError&) {
        // A file that could not be read to its end is reported as such, not as the text it cut short.
        if (in.bad())
            failToRead(file);
        throw;
    }
}

std::string writeSnapshot(const ApplicationRecord& record)
{
    json document;
    document["updatesEnabled"] = record.updatesEnabled;
    addFailingReads(document, record.failingReads, ModelObject::Application);
    if (!record.activePartProgram) {
        document["activePartProgram"] = nullptr;
        return document.dump(1);
    }
    const PartProgramRecord& pp = *record.activePartProgram;
    json program = {{"defaultMember", pp.defaultMember}, {"partName", pp.partName}, {"directory", pp.directory},
                    {"revisionNumber", pp.revisionNumber}, {"serialNumber", pp.serialNumber}, {"fileName", pp.fileName}};
    addFailingReads(program, pp.failingReads, ModelObject::PartProgram);
    json commands = json::array();
    for (const CommandRecord& c : pp.commands) {
        json command = {{"commandType", c.commandType}, {"id", c.id}, {"isDimension", c.isDimension}, {"valueValid", c.valueValid}};
        if (c.dimensionData) {
            const DimensionRecord& d = *c.dimensionData;
            json dimension = {{"id", d.id}, {"feature1", d.feature1}, {"feature2", d.feature2}, {"feature3", d.feature3},
                              {"nominal", d.nominal}, {"measured", d.measured}, {"minusTolerance", d.minusTolerance},
                              {"plusTolerance", d.plusTolerance}, {"positionResult", d.positionResult},
                              {"outputSelector", d.outputSelector}, {"unitCode", d.unitCode},
                              {"isAxisLine", d.isAxisLine}, {"isPositionLine", d.isPositionLine}};
            addFailingReads(dimension, d.failingReads, ModelObject::DimensionData);
            command["dimensionData"] = std::move(dimension);
        }
        if (c.comment) {
            json comment = {{"commentKind", c.comment->commentKind}, {"text", c.comment->text}};
            addFailingReads(comment, c.comment->failingReads, ModelObject::Comment);
            command["comment"] = std::move(comment);
        }
        if (c.namedValue) {
            json named = {{"name", c.namedValue->name}, {"value", c.namedValue->value}};
            addFailingReads(named, c.namedValue->failingReads, ModelObject::NamedValue);
            command["namedValue"] = std::move(named);
        }
        addFailingReads(command, c.failingReads, ModelObject::Command);
        commands.push_back(std::move(command));
    }
    program["commands"] = std::move(commands);
    document["activePartProgram"] = std::move(program);
    return document.dump(1);
}

} // namespace source
