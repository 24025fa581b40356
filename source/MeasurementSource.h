#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The converter's view of the measuring application's automation object model. Every call is one
// synchronous read on the real application (a cross-process call), so callers read no more than they
// need. Any call may throw source::ReadError (the application refused the member) or
// source::ConnectionError (the call did not get through: busy past the budget, closed). Texts are UTF-8.
namespace source {

class Application;
class PartProgram;
class Commands;
class Command;
class DimensionData;
class Comment;
class NamedValue;

class Application {
public:
    virtual ~Application() = default;
    // The open part program; nullptr when none is open.
    virtual std::shared_ptr<source::PartProgram> ActivePartProgram() = 0;
    virtual bool UpdatesEnabled() = 0;
    virtual void SetUpdatesEnabled(bool enabled) = 0;
};

class PartProgram {
public:
    virtual ~PartProgram() = default;
    // The default member read as text; "Nothing" or a failed read means no usable part program.
    virtual std::string DefaultMember() = 0;
    virtual std::string PartName() = 0;
    virtual std::string Directory() = 0;
    virtual std::string RevisionNumber() = 0;
    virtual std::string SerialNumber() = 0;
    virtual std::string FileName() = 0;
    virtual std::shared_ptr<source::Commands> Commands() = 0;
};

// One pass over a command collection in program order.
class CommandEnumerator {
public:
    virtual ~CommandEnumerator() = default;
    // The next command, or nullptr after the last one.
    virtual std::shared_ptr<source::Command> Next() = 0;
};

class Commands {
public:
    virtual ~Commands() = default;
    virtual std::int32_t Count() = 0;
    virtual std::unique_ptr<CommandEnumerator> Enumerate() = 0;
    virtual void VisitCommand(source::Command& command) = 0;
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string Id() = 0;
    virtual std::int32_t CommandType() = 0;
    virtual std::shared_ptr<source::DimensionData> DimensionData() = 0;
    virtual bool IsDimension() = 0;
    virtual bool HasComment() = 0;
    virtual bool HasNamedValue() = 0;
    virtual bool ValueValid() = 0;
    virtual std::shared_ptr<source::Comment> Comment() = 0;
    virtual std::shared_ptr<source::NamedValue> NamedValue() = 0;
};

class DimensionData {
public:
    virtual ~DimensionData() = default;
    virtual std::string Id() = 0;
    virtual std::string Feature1() = 0;
    virtual std::string Feature2() = 0;
    virtual std::string Feature3() = 0;
    virtual double Nominal() = 0;
    virtual double Measured() = 0;
    virtual double MinusTolerance() = 0; // a magnitude
    virtual double PlusTolerance() = 0;
    virtual double PositionResult() = 0;
    virtual std::int32_t OutputSelector() = 0;
    virtual std::int32_t UnitCode() = 0;
    virtual bool IsAxisLine() = 0;
    virtual bool IsPositionLine() = 0;
};

class Comment {
public:
    virtual ~Comment() = default;
    virtual std::int32_t CommentKind() = 0;
    virtual std::string Text() = 0;
};

class NamedValue {
public:
    virtual ~NamedValue() = default;
    virtual std::string Name() = 0;
    virtual std::string Value() = 0;
};

} // namespace source
