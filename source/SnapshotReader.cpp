// Reads a snapshot document straight into the records, event by event, without building nlohmann's
// document first. A fault of the content is kept and the parse goes on to the end, so that a syntax
// error anywhere in the document is what is reported, as when the document is parsed whole first.
#include "Snapshot.h"
#include "SnapshotFields.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace source {
namespace {

using nlohmann::json;
using Field = SnapshotField;

// One scalar of the document, as the parser hands it over.
struct Scalar {
    enum class Kind { Null, Boolean, Integer, Unsigned, Float, Text } kind;
    bool boolean = false;
    std::int64_t integer = 0;
    std::uint64_t unsignedInteger = 0;
    double floating = 0;
    std::string* text = nullptr; // the parser's buffer: may be moved from
};

// What the parser is inside of: an object of the model (and the member being read) or a list.
struct Frame {
    ModelObject object;
    bool list = false;          // the commands or a failingReads list of the object
    void* record = nullptr;     // the record of the object, or the list's owner
    std::string key{};          // objects: the member being read
    std::optional<Field> field{}; // objects: what the member being read is; lists: which list
    std::size_t index = 0;      // lists: elements begun so far
};

class SnapshotHandler {
public:
    explicit SnapshotHandler(const std::string& sourceName) : m_sourceName(sourceName) {}

    ApplicationRecord result()
    {
        if (m_fault)
            throw SnapshotError(m_sourceName, *m_fault);
        return std::move(m_application);
    }

    // The parser's events. Each returns true: a fault of the content is kept, and the rest of the
    // document is still parsed for syntax.
    bool null() { return scalar({Scalar::Kind::Null}); }
    bool boolean(bool value) { return scalar({Scalar::Kind::Boolean, value}); }
    bool number_integer(std::int64_t value) { return scalar({Scalar::Kind::Integer, false, value}); }
    bool number_unsigned(std::uint64_t value) { return scalar({Scalar::Kind::Unsigned, false, 0, value}); }
    bool number_float(double value, const std::string&) { return scalar({Scalar::Kind::Float, false, 0, 0, value}); }
    bool string(std::string& value) { return scalar({Scalar::Kind::Text, false, 0, 0, 0, &value}); }
    bool binary(json::binary_t&) { return scalar({Scalar::Kind::Null}); } // JSON text has none

    bool start_object(std::size_t)
    {
        if (m_fault)
            return true;
        if (m_frames.empty()) {
            if (m_done)
                return true;
            m_frames.push_back({ModelObject::Application, false, &m_application});
            return true;
        }
        Frame& frame = m_frames.back();
        if (frame.list) {
            ++frame.index;
            if (frame.field != Field::Commands)
                return fail("expected a text");
            auto& commands = static_cast<PartProgramRecord*>(frame.record)->commands;
            commands.emplace_back();
            m_frames.push_back({ModelObject::Command, false, &commands.back()});
            return true;
        }
        switch (*frame.field) {
        case Field::ActivePartProgram: {
            auto& program = static_cast<ApplicationRecord*>(frame.record)->activePartProgram;
            program.emplace();
            m_frames.push_back({ModelObject::PartProgram, false, &*program});
            return true;
        }
        case Field::DimensionData: {
            auto& dimension = static_cast<CommandRecord*>(frame.record)->dimensionData;
            dimension.emplace();
            m_frames.push_back({ModelObject::DimensionData, false, &*dimension});
            return true;
        }
        case Field::Comment: {
            auto& comment = static_cast<CommandRecord*>(frame.record)->comment;
            comment.emplace();
            m_frames.push_back({ModelObject::Comment, false, &*comment});
            return true;
        }
        case Field::NamedValue: {
            auto& named = static_cast<CommandRecord*>(frame.record)->namedValue;
            named.emplace();
            m_frames.push_back({ModelObject::NamedValue, false, &*named});
            return true;
        }
        default:
            return wrongType(frame);
        }
    }

    bool end_object()
    {
        if (m_fault)
            return true;
        m_frames.pop_back();
        m_done = m_frames.empty();
        return true;
    }

    bool start_array(std::size_t)
    {
        if (m_fault)
            return true;
        if (m_frames.empty())
            return fail("expected an object");
        Frame& frame = m_frames.back();
        if (frame.list) {
            ++frame.index;
            return fail(frame.field == Field::Commands ? "expected an object" : "expected a text");
        }
        if (frame.field == Field::Commands) {
            auto* program = static_cast<PartProgramRecord*>(frame.record);
            program->commands.clear();
            m_frames.push_back({ModelObject::PartProgram, true, program, {}, Field::Commands});
            return true;
        }
        if (frame.field == Field::FailingReads) {
            failingReadsOf(frame) = FailingReads();
            m_frames.push_back({frame.object, true, frame.record, {}, Field::FailingReads});
            return true;
        }
        return wrongType(frame);
    }

    bool end_array()
    {
        if (!m_fault)
            m_frames.pop_back();
        return true;
    }

    bool key(std::string& name)
    {
        if (m_fault)
            return true;
        Frame& frame = m_frames.back();
        frame.key = name;
        frame.field = snapshotFieldIn(frame.object, name);
        if (!frame.field)
            return fail("unknown member");
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error)
    {
        throw SnapshotError(m_sourceName, withoutExceptionTag(error.what()));
    }

private:
    // The library's messages begin with "[json.exception.parse_error.101] "; the rest says it all.
    static std::string withoutExceptionTag(const std::string& message)
    {
        const auto end = message.find("] ");
        return message.rfind("[json.exception.", 0) == 0 && end != std::string::npos ? message.substr(end + 2) : message;
    }

    FailingReads& failingReadsOf(const Frame& frame)
    {
        switch (frame.object) {
        case ModelObject::Application: return static_cast<ApplicationRecord*>(frame.record)->failingReads;
        case ModelObject::PartProgram: return static_cast<PartProgramRecord*>(frame.record)->failingReads;
        case ModelObject::Command: return static_cast<CommandRecord*>(frame.record)->failingReads;
        case ModelObject::DimensionData: return static_cast<DimensionRecord*>(frame.record)->failingReads;
        case ModelObject::Comment: return static_cast<CommentRecord*>(frame.record)->failingReads;
        case ModelObject::NamedValue: return static_cast<NamedValueRecord*>(frame.record)->failingReads;
        }
        throw std::logic_error("unknown object");
    }

    bool scalar(const Scalar& value)
    {
        if (m_fault || m_done)
            return true;
        if (m_frames.empty())
            return fail("expected an object");
        Frame& frame = m_frames.back();
        if (frame.list)
            return listElement(frame, value);
        switch (frame.object) {
        case ModelObject::Application: return applicationMember(frame, value);
        case ModelObject::PartProgram: return partProgramMember(frame, value);
        case ModelObject::Command: return commandMember(frame, value);
        case ModelObject::DimensionData: return dimensionMember(frame, value);
        case ModelObject::Comment: return commentMember(frame, value);
        case ModelObject::NamedValue: return namedValueMember(frame, value);
        }
        return true;
    }

    bool listElement(Frame& frame, const Scalar& value)
    {
        ++frame.index;
        if (frame.field == Field::Commands)
            return fail("expected an object");
        if (value.kind != Scalar::Kind::Text)
            return fail("expected a text");
        const auto member = memberFromSnapshotName(frame.object, *value.text);
        if (!member)
            return fail("\"" + *value.text + "\" is not a member of this object");
        failingReadsOf(frame).add(*member);
        return true;
    }

    bool applicationMember(Frame& frame, const Scalar& value)
    {
        auto& application = *static_cast<ApplicationRecord*>(frame.record);
        switch (*frame.field) {
        case Field::UpdatesEnabled: return boolean(value, application.updatesEnabled);
        case Field::ActivePartProgram:
            if (value.kind != Scalar::Kind::Null)
                return fail("expected an object");
            application.activePartProgram.reset();
            return true;
        default: return wrongType(frame);
        }
    }

    bool partProgramMember(Frame& frame, const Scalar& value)
    {
        auto& program = *static_cast<PartProgramRecord*>(frame.record);
        switch (*frame.field) {
        case Field::DefaultMember: return text(value, program.defaultMember);
        case Field::PartName: return text(value, program.partName);
        case Field::Directory: return text(value, program.directory);
        case Field::RevisionNumber: return text(value, program.revisionNumber);
        case Field::SerialNumber: return text(value, program.serialNumber);
        case Field::FileName: return text(value, program.fileName);
        default: return wrongType(frame);
        }
    }

    bool commandMember(Frame& frame, const Scalar& value)
    {
        auto& command = *static_cast<CommandRecord*>(frame.record);
        switch (*frame.field) {
        case Field::CommandType: return wholeNumber(value, command.commandType);
        case Field::Id: return text(value, command.id);
        case Field::IsDimension: return boolean(value, command.isDimension);
        case Field::ValueValid: return boolean(value, command.valueValid);
        default: return wrongType(frame);
        }
    }

    bool dimensionMember(Frame& frame, const Scalar& value)
    {
        auto& dimension = *static_cast<DimensionRecord*>(frame.record);
        switch (*frame.field) {
        case Field::Id: return text(value, dimension.id);
        case Field::Feature1: return text(value, dimension.feature1);
        case Field::Feature2: return text(value, dimension.feature2);
        case Field::Feature3: return text(value, dimension.feature3);
        case Field::Nominal: return number(value, dimension.nominal);
        case Field::Measured: return number(value, dimension.measured);
        case Field::MinusTolerance: return number(value, dimension.minusTolerance);
        case Field::PlusTolerance: return number(value, dimension.plusTolerance);
        case Field::PositionResult: return number(value, dimension.positionResult);
        case Field::OutputSelector: return wholeNumber(value, dimension.outputSelector);
        case Field::UnitCode: return wholeNumber(value, dimension.unitCode);
        case Field::IsAxisLine: return boolean(value, dimension.isAxisLine);
        case Field::IsPositionLine: return boolean(value, dimension.isPositionLine);
        default: return wrongType(frame);
        }
    }

    bool commentMember(Frame& frame, const Scalar& value)
    {
        auto& comment = *static_cast<CommentRecord*>(frame.record);
        switch (*frame.field) {
        case Field::CommentKind: return wholeNumber(value, comment.commentKind);
        case Field::Text: return text(value, comment.text);
        default: return wrongType(frame);
        }
    }

    bool namedValueMember(Frame& frame, const Scalar& value)
    {
        auto& named = *static_cast<NamedValueRecord*>(frame.record);
        switch (*frame.field) {
        case Field::Name: return text(value, named.name);
        case Field::Value: return text(value, named.value);
        default: return wrongType(frame);
        }
    }

    // A member whose value is of the wrong kind: what it should have been.
    bool wrongType(const Frame& frame) { return fail(std::string(expectedValue(*frame.field))); }

    bool text(const Scalar& value, std::string& target)
    {
        if (value.kind != Scalar::Kind::Text)
            return fail("expected a text");
        target = std::move(*value.text);
        return true;
    }

    bool boolean(const Scalar& value, bool& target)
    {
        if (value.kind != Scalar::Kind::Boolean)
            return fail("expected true or false");
        target = value.boolean;
        return true;
    }

    bool number(const Scalar& value, double& target)
    {
        switch (value.kind) {
        case Scalar::Kind::Integer: target = static_cast<double>(value.integer); return true;
        case Scalar::Kind::Unsigned: target = static_cast<double>(value.unsignedInteger); return true;
        case Scalar::Kind::Float: target = value.floating; return true;
        default: return fail("expected a number");
        }
    }

    bool wholeNumber(const Scalar& value, std::int32_t& target)
    {
        constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
        constexpr auto highest = std::numeric_limits<std::int32_t>::max();
        if (value.kind == Scalar::Kind::Unsigned) {
            if (value.unsignedInteger > static_cast<std::uint64_t>(highest))
                return fail("the number is out of range");
            target = static_cast<std::int32_t>(value.unsignedInteger);
            return true;
        }
        if (value.kind != Scalar::Kind::Integer)
            return fail("expected a whole number");
        if (value.integer < lowest || value.integer > highest)
            return fail("the number is out of range");
        target = static_cast<std::int32_t>(value.integer);
        return true;
    }

    // Keeps the first fault of the content, at the path of the value being read.
    bool fail(const std::string& what)
    {
        m_fault = "at " + path() + ": " + what;
        return true;
    }

    // activePartProgram.commands[3].dimensionData.nominal; "the document" for the document itself.
    std::string path() const
    {
        std::string path;
        for (const Frame& frame : m_frames) {
            if (frame.list) {
                path += "[" + std::to_string(frame.index - 1) + "]";
            } else {
                if (!path.empty())
                    path += ".";
                path += frame.key;
            }
        }
        return path.empty() ? "the document" : path;
    }

    const std::string& m_sourceName;
    ApplicationRecord m_application;
    std::vector<Frame> m_frames;
    bool m_done = false; // the document's object has ended
    std::optional<std::string> m_fault;
};

} // namespace

ApplicationRecord parseSnapshot(std::string_view text, const std::string& sourceName)
{
    SnapshotHandler handler(sourceName);
    json::sax_parse(text.begin(), text.end(), &handler);
    return handler.result();
}

ApplicationRecord parseSnapshot(std::istream& in, const std::string& sourceName)
{
    SnapshotHandler handler(sourceName);
    json::sax_parse(in, &handler);
    return handler.result();
}

} // namespace source
