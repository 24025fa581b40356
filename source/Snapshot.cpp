#include "Snapshot.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>

namespace source {
namespace {

using nlohmann::json;

// A member path such as activePartProgram.commands[3].dimensionData.nominal, for error messages.
std::string joinPath(const std::string& parent, const std::string& member)
{
    return parent.empty() ? member : parent + "." + member;
}

class ObjectReader {
public:
    ObjectReader(const json& value, std::string path, const std::string& sourceName)
        : m_value(value), m_path(std::move(path)), m_sourceName(sourceName)
    {
        if (!m_value.is_object())
            fail(m_path.empty() ? "the document" : m_path, "expected an object");
    }

    // Runs the handler of each member; a member without a handler is an error.
    void read(const std::map<std::string, std::function<void(const json&, const std::string&)>, std::less<>>& handlers) const
    {
        for (const auto& [name, member] : m_value.items()) {
            const auto handler = handlers.find(name);
            const std::string path = joinPath(m_path, name);
            if (handler == handlers.end())
                fail(path, "unknown member");
            handler->second(member, path);
        }
    }

    [[noreturn]] void fail(const std::string& path, const std::string& what) const
    {
        throw SnapshotError(m_sourceName, "at " + path + ": " + what);
    }

    std::string text(const json& value, const std::string& path) const
    {
        if (!value.is_string())
            fail(path, "expected a text");
        return value.get<std::string>();
    }

    bool boolean(const json& value, const std::string& path) const
    {
        if (!value.is_boolean())
            fail(path, "expected true or false");
        return value.get<bool>();
    }

    double number(const json& value, const std::string& path) const
    {
        if (!value.is_number())
            fail(path, "expected a number");
        return value.get<double>();
    }

    std::int32_t wholeNumber(const json& value, const std::string& path) const
    {
        if (!value.is_number_integer())
            fail(path, "expected a whole number");
        if (value.is_number_unsigned()) {
            if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
                fail(path, "the number is out of range");
        } else {
            const auto number = value.get<std::int64_t>();
            if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
                fail(path, "the number is out of range");
        }
        return value.get<std::int32_t>();
    }

    FailingReads failingReads(const json& value, const std::string& path, ModelObject object) const
    {
        if (!value.is_array())
            fail(path, "expected a list of member names");
        FailingReads reads;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const std::string itemPath = path + "[" + std::to_string(i) + "]";
            const std::string name = text(value[i], itemPath);
            const auto member = memberFromSnapshotName(object, name);
            if (!member)
                fail(itemPath, "\"" + name + "\" is not a member of this object");
            reads.add(*member);
        }
        return reads;
    }

private:
    const json& m_value;
    std::string m_path;
    const std::string& m_sourceName;
};

DimensionRecord readDimension(const json& value, const std::string& path, const std::string& sourceName)
{
    DimensionRecord d;
    ObjectReader r(value, path, sourceName);
    r.read({
        {"id", [&](const json& v, const std::string& p) { d.id = r.text(v, p); }},
        {"feature1", [&](const json& v, const std::string& p) { d.feature1 = r.text(v, p); }},
        {"feature2", [&](const json& v, const std::string& p) { d.feature2 = r.text(v, p); }},
        {"feature3", [&](const json& v, const std::string& p) { d.feature3 = r.text(v, p); }},
        {"nominal", [&](const json& v, const std::string& p) { d.nominal = r.number(v, p); }},
        {"measured", [&](const json& v, const std::string& p) { d.measured = r.number(v, p); }},
        {"minusTolerance", [&](const json& v, const std::string& p) { d.minusTolerance = r.number(v, p); }},
        {"plusTolerance", [&](const json& v, const std::string& p) { d.plusTolerance = r.number(v, p); }},
        {"positionResult", [&](const json& v, const std::string& p) { d.positionResult = r.number(v, p); }},
        {"outputSelector", [&](const json& v, const std::string& p) { d.outputSelector = r.wholeNumber(v, p); }},
        {"unitCode", [&](const json& v, const std::string& p) { d.unitCode = r.wholeNumber(v, p); }},
        {"isAxisLine", [&](const json& v, const std::string& p) { d.isAxisLine = r.boolean(v, p); }},
        {"isPositionLine", [&](const json& v, const std::string& p) { d.isPositionLine = r.boolean(v, p); }},
        {"failingReads", [&](const json& v, const std::string& p) { d.failingReads = r.failingReads(v, p, ModelObject::DimensionData); }},
    });
    return d;
}

CommentRecord readComment(const json& value, const std::string& path, const std::string& sourceName)
{
    CommentRecord c;
    ObjectReader r(value, path, sourceName);
    r.read({
        {"commentKind", [&](const json& v, const std::string& p) { c.commentKind = r.wholeNumber(v, p); }},
        {"text", [&](const json& v, const std::string& p) { c.text = r.text(v, p); }},
        {"failingReads", [&](const json& v, const std::string& p) { c.failingReads = r.failingReads(v, p, ModelObject::Comment); }},
    });
    return c;
}

NamedValueRecord readNamedValue(const json& value, const std::string& path, const std::string& sourceName)
{
    NamedValueRecord n;
    ObjectReader r(value, path, sourceName);
    r.read({
        {"name", [&](const json& v, const std::string& p) { n.name = r.text(v, p); }},
        {"value", [&](const json& v, const std::string& p) { n.value = r.text(v, p); }},
        {"failingReads", [&](const json& v, const std::string& p) { n.failingReads = r.failingReads(v, p, ModelObject::NamedValue); }},
    });
    return n;
}

CommandRecord readCommand(const json& value, const std::string& path, const std::string& sourceName)
{
    CommandRecord c;
    ObjectReader r(value, path, sourceName);
    r.read({
        {"commandType", [&](const json& v, const std::string& p) { c.commandType = r.wholeNumber(v, p); }},
        {"id", [&](const json& v, const std::string& p) { c.id = r.text(v, p); }},
        {"isDimension", [&](const json& v, const std::string& p) { c.isDimension = r.boolean(v, p); }},
        {"valueValid", [&](const json& v, const std::string& p) { c.valueValid = r.boolean(v, p); }},
        {"dimensionData", [&](const json& v, const std::string& p) { c.dimensionData = readDimension(v, p, sourceName); }},
        {"comment", [&](const json& v, const std::string& p) { c.comment = readComment(v, p, sourceName); }},
        {"namedValue", [&](const json& v, const std::string& p) { c.namedValue = readNamedValue(v, p, sourceName); }},
        {"failingReads", [&](const json& v, const std::string& p) { c.failingReads = r.failingReads(v, p, ModelObject::Command); }},
    });
    return c;
}

PartProgramRecord readPartProgram(const json& value, const std::string& path, const std::string& sourceName)
{
    PartProgramRecord pp;
    ObjectReader r(value, path, sourceName);
    r.read({
        {"defaultMember", [&](const json& v, const std::string& p) { pp.defaultMember = r.text(v, p); }},
        {"partName", [&](const json& v, const std::string& p) { pp.partName = r.text(v, p); }},
        {"directory", [&](const json& v, const std::string& p) { pp.directory = r.text(v, p); }},
        {"revisionNumber", [&](const json& v, const std::string& p) { pp.revisionNumber = r.text(v, p); }},
        {"serialNumber", [&](const json& v, const std::string& p) { pp.serialNumber = r.text(v, p); }},
        {"fileName", [&](const json& v, const std::string& p) { pp.fileName = r.text(v, p); }},
        {"commands",
         [&](const json& v, const std::string& p) {
             if (!v.is_array())
                 r.fail(p, "expected a list of commands");
             pp.commands.reserve(v.size());
             for (std::size_t i = 0; i < v.size(); ++i)
                 pp.commands.push_back(readCommand(v[i], p + "[" + std::to_string(i) + "]", sourceName));
         }},
        {"failingReads", [&](const json& v, const std::string& p) { pp.failingReads = r.failingReads(v, p, ModelObject::PartProgram); }},
    });
    return pp;
}

ApplicationRecord readApplication(const json& document, const std::string& sourceName)
{
    ApplicationRecord app;
    ObjectReader r(document, "", sourceName);
    r.read({
        {"updatesEnabled", [&](const json& v, const std::string& p) { app.updatesEnabled = r.boolean(v, p); }},
        {"activePartProgram",
         [&](const json& v, const std::string& p) {
             if (!v.is_null())
                 app.activePartProgram = readPartProgram(v, p, sourceName);
         }},
        {"failingReads", [&](const json& v, const std::string& p) { app.failingReads = r.failingReads(v, p, ModelObject::Application); }},
    });
    return app;
}

// The JSON library's messages begin with "[json.exception.parse_error.101] "; the rest says it all.
std::string withoutExceptionTag(const std::string& message)
{
    const auto end = message.find("] ");
    return message.rfind("[json.exception.", 0) == 0 && end != std::string::npos ? message.substr(end + 2) : message;
}

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

ApplicationRecord parseSnapshot(std::string_view text, const std::string& sourceName)
{
    json document;
    try {
        document = json::parse(text.begin(), text.end());
    } catch (const json::exception& error) {
        throw SnapshotError(sourceName, withoutExceptionTag(error.what()));
    }
    try {
        return readApplication(document, sourceName);
    } catch (const json::exception& error) {
        throw SnapshotError(sourceName, withoutExceptionTag(error.what()));
    }
}

std::string snapshotFileName(const std::filesystem::path& file)
{
    // In UTF-8: file.string() is the ANSI code page on Windows.
    const std::u8string name8 = file.u8string();
    return std::string(name8.begin(), name8.end());
}

std::string readSnapshotText(const std::filesystem::path& file)
{
    // errno is taken before forming the name, which allocates.
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int error = errno;
        throw SnapshotError(snapshotFileName(file), std::strerror(error));
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        const int error = errno;
        throw SnapshotError(snapshotFileName(file), std::strerror(error));
    }
    return std::move(content).str();
}

ApplicationRecord readSnapshotFile(const std::filesystem::path& file)
{
    return parseSnapshot(readSnapshotText(file), snapshotFileName(file));
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
