#include "ModelBuilder.h"

namespace testing_support {

source::CommandRecord commentCommand(std::string text, int kind)
{
    source::CommandRecord command = plainCommand(300);
    command.comment = source::CommentRecord{kind, std::move(text), {}};
    return command;
}

source::CommandRecord namedValueCommand(std::string name, std::string value)
{
    source::CommandRecord command = plainCommand(400);
    command.namedValue = source::NamedValueRecord{std::move(name), std::move(value), {}};
    return command;
}

source::CommandRecord plainCommand(int type)
{
    source::CommandRecord command;
    command.commandType = type;
    return command;
}

namespace {

source::CommandRecord dimensionCommand(int type, Tolerance tolerance, double measured)
{
    source::CommandRecord command = plainCommand(type);
    command.isDimension = true;
    command.valueValid = true;
    source::DimensionRecord dimension;
    dimension.nominal = tolerance.nominal;
    dimension.plusTolerance = tolerance.plus;
    dimension.minusTolerance = tolerance.minus;
    dimension.measured = measured;
    dimension.unitCode = 1;
    command.dimensionData = dimension;
    return command;
}

} // namespace

source::CommandRecord singleDimension(int type, std::string id, Tolerance tolerance, double measured, std::string feature1)
{
    source::CommandRecord command = dimensionCommand(type, tolerance, measured);
    command.id = id;
    command.dimensionData->id = std::move(id);
    command.dimensionData->feature1 = std::move(feature1);
    return command;
}

source::CommandRecord blockStart(int type, std::string id, int selector, int unitCode, std::string feature1)
{
    source::CommandRecord command = dimensionCommand(type, {}, 0);
    command.id = std::move(id);
    command.dimensionData->outputSelector = selector;
    command.dimensionData->unitCode = unitCode;
    command.dimensionData->feature1 = std::move(feature1);
    return command;
}

source::CommandRecord blockEnd(int type)
{
    return plainCommand(type);
}

source::CommandRecord axisLine(int type, Tolerance tolerance, double measured)
{
    source::CommandRecord command = dimensionCommand(type, tolerance, measured);
    command.dimensionData->isAxisLine = true;
    return command;
}

source::ApplicationRecord applicationWith(std::vector<source::CommandRecord> commands)
{
    source::PartProgramRecord program;
    program.defaultMember = "PUMP1";
    program.partName = "PUMP HOUSING A1";
    program.directory = "D:\\MESSDATEN";
    program.revisionNumber = "B";
    program.serialNumber = "4711";
    program.fileName = "PUMP1.PRG";
    program.commands = std::move(commands);
    source::ApplicationRecord application;
    application.activePartProgram = std::move(program);
    return application;
}

source::ApplicationRecord exampleApplication()
{
    return applicationWith({
        commentCommand("Bore check"),
        singleDimension(1106, "DIM1", {25, 0.1, 0.05}, 25.03124, "CIR1"),
        blockStart(1000, "AX1", 0, 1, "CIR2"),
        axisLine(1002, {10, 0.2, 0.2}, -0.25),
        blockEnd(1001),
    });
}

} // namespace testing_support

