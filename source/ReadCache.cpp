#include "ReadCache.h"

#include "Member.h"
#include "ReadError.h"

#include <forward_list>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace source {
namespace {

// What every cached object shares: the first read of each member is kept, a refused one as its
// refusal. One bit per member says which are known, as the cache holds a few objects per command.
class CachedObject {
protected:
    template <class T, class Read>
    T remember(Member member, T& slot, Read read)
    {
        const std::uint64_t bit = std::uint64_t{1} << static_cast<unsigned>(member);
        if (m_known & bit)
            return slot;
        for (const auto& [refusedMember, refusal] : m_refusals) {
            if (refusedMember == member)
                throw refusal;
        }
        try {
            slot = read();
        } catch (const ReadError& refusal) {
            m_refusals.emplace_front(member, refusal);
            throw;
        }
        m_known |= bit;
        return slot;
    }

private:
    std::uint64_t m_known = 0;
    // Refusals are rare; an empty list is one pointer.
    std::forward_list<std::pair<Member, ReadError>> m_refusals;
};
static_assert(kMemberCount <= 64);

class CachedDimensionData final : public DimensionData, CachedObject {
public:
    explicit CachedDimensionData(std::shared_ptr<DimensionData> inner) : m_inner(std::move(inner)) {}

    std::string Id() override { return remember(Member::DimensionDataId, m_id, [&] { return m_inner->Id(); }); }
    std::string Feature1() override { return remember(Member::DimensionDataFeature1, m_feature1, [&] { return m_inner->Feature1(); }); }
    std::string Feature2() override { return remember(Member::DimensionDataFeature2, m_feature2, [&] { return m_inner->Feature2(); }); }
    std::string Feature3() override { return remember(Member::DimensionDataFeature3, m_feature3, [&] { return m_inner->Feature3(); }); }
    double Nominal() override { return remember(Member::DimensionDataNominal, m_nominal, [&] { return m_inner->Nominal(); }); }
    double Measured() override { return remember(Member::DimensionDataMeasured, m_measured, [&] { return m_inner->Measured(); }); }
    double MinusTolerance() override
    {
        return remember(Member::DimensionDataMinusTolerance, m_minusTolerance, [&] { return m_inner->MinusTolerance(); });
    }
    double PlusTolerance() override
    {
        return remember(Member::DimensionDataPlusTolerance, m_plusTolerance, [&] { return m_inner->PlusTolerance(); });
    }
    double PositionResult() override
    {
        return remember(Member::DimensionDataPositionResult, m_positionResult, [&] { return m_inner->PositionResult(); });
    }
    std::int32_t OutputSelector() override
    {
        return remember(Member::DimensionDataOutputSelector, m_outputSelector, [&] { return m_inner->OutputSelector(); });
    }
    std::int32_t UnitCode() override { return remember(Member::DimensionDataUnitCode, m_unitCode, [&] { return m_inner->UnitCode(); }); }
    bool IsAxisLine() override { return remember(Member::DimensionDataIsAxisLine, m_isAxisLine, [&] { return m_inner->IsAxisLine(); }); }
    bool IsPositionLine() override
    {
        return remember(Member::DimensionDataIsPositionLine, m_isPositionLine, [&] { return m_inner->IsPositionLine(); });
    }

private:
    std::shared_ptr<DimensionData> m_inner;
    std::string m_id, m_feature1, m_feature2, m_feature3;
    double m_nominal = 0, m_measured = 0, m_minusTolerance = 0, m_plusTolerance = 0, m_positionResult = 0;
    std::int32_t m_outputSelector = 0, m_unitCode = 0;
    bool m_isAxisLine = false, m_isPositionLine = false;
};

class CachedComment final : public Comment, CachedObject {
public:
    explicit CachedComment(std::shared_ptr<Comment> inner) : m_inner(std::move(inner)) {}

    std::int32_t CommentKind() override { return remember(Member::CommentCommentKind, m_kind, [&] { return m_inner->CommentKind(); }); }
    std::string Text() override { return remember(Member::CommentText, m_text, [&] { return m_inner->Text(); }); }

private:
    std::shared_ptr<Comment> m_inner;
    std::int32_t m_kind = 0;
    std::string m_text;
};

class CachedNamedValue final : public NamedValue, CachedObject {
public:
    explicit CachedNamedValue(std::shared_ptr<NamedValue> inner) : m_inner(std::move(inner)) {}

    std::string Name() override { return remember(Member::NamedValueName, m_name, [&] { return m_inner->Name(); }); }
    std::string Value() override { return remember(Member::NamedValueValue, m_value, [&] { return m_inner->Value(); }); }

private:
    std::shared_ptr<NamedValue> m_inner;
    std::string m_name, m_value;
};

// An object of a command is cached behind the same interface; an absent one stays absent.
template <class Cached, class Interface>
std::shared_ptr<Interface> cachedObject(std::shared_ptr<Interface> inner)
{
    if (!inner)
        return nullptr;
    return std::make_shared<Cached>(std::move(inner));
}

class CachedCommand final : public Command, CachedObject {
public:
    explicit CachedCommand(std::shared_ptr<Command> inner) : m_inner(std::move(inner)) {}

    // The application's own command, for the requests that take one.
    Command& inner() { return *m_inner; }

    std::string Id() override { return remember(Member::CommandId, m_id, [&] { return m_inner->Id(); }); }
    std::int32_t CommandType() override { return remember(Member::CommandCommandType, m_type, [&] { return m_inner->CommandType(); }); }
    bool IsDimension() override { return remember(Member::CommandIsDimension, m_isDimension, [&] { return m_inner->IsDimension(); }); }
    bool HasComment() override { return remember(Member::CommandHasComment, m_hasComment, [&] { return m_inner->HasComment(); }); }
    bool HasNamedValue() override
    {
        return remember(Member::CommandHasNamedValue, m_hasNamedValue, [&] { return m_inner->HasNamedValue(); });
    }
    bool ValueValid() override { return remember(Member::CommandValueValid, m_valueValid, [&] { return m_inner->ValueValid(); }); }

    std::shared_ptr<source::DimensionData> DimensionData() override
    {
        return remember(Member::CommandDimensionData, m_dimensionData,
                        [&] { return cachedObject<CachedDimensionData>(m_inner->DimensionData()); });
    }
    std::shared_ptr<source::Comment> Comment() override
    {
        return remember(Member::CommandComment, m_comment, [&] { return cachedObject<CachedComment>(m_inner->Comment()); });
    }
    std::shared_ptr<source::NamedValue> NamedValue() override
    {
        return remember(Member::CommandNamedValue, m_namedValue, [&] { return cachedObject<CachedNamedValue>(m_inner->NamedValue()); });
    }

private:
    std::shared_ptr<Command> m_inner;
    std::string m_id;
    std::int32_t m_type = 0;
    bool m_isDimension = false, m_hasComment = false, m_hasNamedValue = false, m_valueValid = false;
    std::shared_ptr<source::DimensionData> m_dimensionData;
    std::shared_ptr<source::Comment> m_comment;
    std::shared_ptr<source::NamedValue> m_namedValue;
};

class CachedCommands final : public Commands, CachedObject, public std::enable_shared_from_this<CachedCommands> {
public:
    explicit CachedCommands(std::shared_ptr<Commands> inner) : m_inner(std::move(inner)) {}

    std::int32_t Count() override { return remember(Member::CommandsCount, m_count, [&] { return m_inner->Count(); }); }

    std::unique_ptr<CommandEnumerator> Enumerate() override
    {
        remember(Member::CommandsEnumerate, m_enumerated, [&] {
            m_enumerator = m_inner->Enumerate();
            return true;
        });
        return std::make_unique<Replay>(shared_from_this());
    }

    void VisitCommand(source::Command& command) override
    {
        auto* cached = dynamic_cast<CachedCommand*>(&command);
        m_inner->VisitCommand(cached ? cached->inner() : command);
    }

private:
    // The position-th command: enumerated on the first request, replayed on every later one.
    std::shared_ptr<source::Command> commandAt(std::size_t position)
    {
        while (position >= m_seen.size() && m_enumerator) {
            std::shared_ptr<source::Command> next = m_enumerator->Next();
            if (!next)
                m_enumerator.reset(); // the end is known now
            else
                m_seen.push_back(std::make_shared<CachedCommand>(std::move(next)));
        }
        return position < m_seen.size() ? m_seen[position] : nullptr;
    }

    class Replay final : public CommandEnumerator {
    public:
        explicit Replay(std::shared_ptr<CachedCommands> commands) : m_commands(std::move(commands)) {}
        std::shared_ptr<source::Command> Next() override { return m_commands->commandAt(m_position++); }

    private:
        std::shared_ptr<CachedCommands> m_commands;
        std::size_t m_position = 0;
    };

    std::shared_ptr<Commands> m_inner;
    std::int32_t m_count = 0;
    bool m_enumerated = false;
    std::unique_ptr<CommandEnumerator> m_enumerator; // until it has found the end
    std::vector<std::shared_ptr<CachedCommand>> m_seen;
};

class CachedPartProgram final : public PartProgram, CachedObject {
public:
    explicit CachedPartProgram(std::shared_ptr<PartProgram> inner) : m_inner(std::move(inner)) {}

    std::string DefaultMember() override
    {
        return remember(Member::PartProgramDefaultMember, m_defaultMember, [&] { return m_inner->DefaultMember(); });
    }
    std::string PartName() override { return remember(Member::PartProgramPartName, m_partName, [&] { return m_inner->PartName(); }); }
    std::string Directory() override { return remember(Member::PartProgramDirectory, m_directory, [&] { return m_inner->Directory(); }); }
    std::string RevisionNumber() override
    {
        return remember(Member::PartProgramRevisionNumber, m_revisionNumber, [&] { return m_inner->RevisionNumber(); });
    }
    std::string SerialNumber() override
    {
        return remember(Member::PartProgramSerialNumber, m_serialNumber, [&] { return m_inner->SerialNumber(); });
    }
    std::string FileName() override { return remember(Member::PartProgramFileName, m_fileName, [&] { return m_inner->FileName(); }); }

    std::shared_ptr<source::Commands> Commands() override
    {
        return remember(Member::PartProgramCommands, m_commands, [&] {
            std::shared_ptr<source::Commands> inner = m_inner->Commands();
            return inner ? std::shared_ptr<source::Commands>(std::make_shared<CachedCommands>(std::move(inner))) : nullptr;
        });
    }

private:
    std::shared_ptr<PartProgram> m_inner;
    std::string m_defaultMember, m_partName, m_directory, m_revisionNumber, m_serialNumber, m_fileName;
    std::shared_ptr<source::Commands> m_commands;
};

} // namespace

std::shared_ptr<PartProgram> cacheReads(std::shared_ptr<PartProgram> partProgram)
{
    return std::make_shared<CachedPartProgram>(std::move(partProgram));
}

} // namespace source
