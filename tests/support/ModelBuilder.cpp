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
    return source::parseSnapshot(R"({"activePartProgram": {
        "defaultMember": "PUMP1", "partName": "PUMP HOUSING A1", "directory": "D:\\MESSDATEN",
        "revisionNumber": "B", "serialNumber": "4711", "fileName": "PUMP1.PRG", "commands": [
            {"commandType": 300, "valueValid": true, "comment": {"commentKind": 1, "text": "Bore check"}},
            {"commandType": 1106, "id": "DIM1", "isDimension": true, "valueValid": true,
             "dimensionData": {"id": "DIM1", "feature1": "CIR1", "nominal": 25, "plusTolerance": 0.1,
                               "minusTolerance": 0.05, "measured": 25.03124, "unitCode": 1}},
            {"commandType": 1000, "id": "AX1", "isDimension": true, "valueValid": true,
             "dimensionData": {"id": "AX1", "feature1": "CIR2", "unitCode": 1}},
            {"commandType": 1002, "isDimension": true, "valueValid": true,
             "dimensionData": {"nominal": 10, "plusTolerance": 0.2, "minusTolerance": 0.2, "measured": -0.25,
                               "unitCode": 1, "isAxisLine": true}},
            {"commandType": 1001, "valueValid": true}]}})",
                                 "the example part program");
}

} // namespace testing_support
