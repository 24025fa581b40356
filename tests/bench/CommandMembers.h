#pragma once

#include "source/Member.h"

// Whether a member is read on behalf of one command (its own members and those of its dimension
// data, comment and named value), so read counts can be kept per command.
inline bool belongsToACommand(source::Member member)
{
    const source::ModelObject object = source::objectOf(member);
    return member == source::Member::CommandsVisitCommand || object == source::ModelObject::Command ||
           object == source::ModelObject::DimensionData || object == source::ModelObject::Comment ||
           object == source::ModelObject::NamedValue;
}
