#include "ModelBuilder.h"

#include "source/Snapshot.h"

namespace testing_support {

source::CommandRecord namedValueCommand(std::string name, std::string value)
{
    source::CommandRecord command;
    command.commandType = 400;
    command.namedValue = source::NamedValueRecord{std::move(name), std::move(value), {}};
    return command;
}

source::CommandRecord singleDimension(int type, std::string id, Tolerance tolerance, double measured)
{
    source::DimensionRecord dimension;
    dimension.id = id;
    dimension.nominal = tolerance.nominal;
    dimension.plusTolerance = tolerance.plus;
    dimension.minusTolerance = tolerance.minus;
    dimension.measured = measured;
    dimension.unitCode = 1;
    source::CommandRecord command;
    command.commandType = type;
    command.id = std::move(id);
    command.isDimension = true;
    command.valueValid = true;
    command.dimensionData = std::move(dimension);
    return command;
}

source::ApplicationRecord applicationWith(std::vector<source::CommandRecord> commands)
{
    source::ApplicationRecord application = exampleApplication();
    application.activePartProgram->commands = std::move(commands);
    return application;
}

source::ApplicationRecord exampleApplication()
{
    return source::readSnapshotFile(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / "pump-housing.json");
}

} // namespace testing_support
