#pragma once

#include <string>
#include <vector>

#include "source/ModelRecords.h"

// Short ways to write part programs in tests.
namespace testing_support {

struct Tolerance {
    double nominal = 0;
    double plus = 0;
    double minus = 0;
};

source::CommandRecord namedValueCommand(std::string name, std::string value);

// A single dimension (types 1100..1114), converted (selector 0), unit mm.
source::CommandRecord singleDimension(int type, std::string id, Tolerance tolerance, double measured);

// The example's part program with these commands.
source::ApplicationRecord applicationWith(std::vector<source::CommandRecord> commands);

// The part program of examples/pump-housing.json: a comment "Bore check", a single dimension of type
// 1106 (DIM1 on CIR1, 25 +0.1 -0.05, measured 25.03124) and an axis block AX1 on CIR2 with one line of
// type 1002 (10 +/-0.2, measured -0.25). PUMP HOUSING A1, serial 4711, revision B.
source::ApplicationRecord exampleApplication();

// A part program with every kind of command the walks know: comments, named values of both walks,
// single dimensions (one of an unknown type), an axis block, a closed axis block (selector 1), a
// position block with linked and unlinked axes, and plain commands. Its snapshot is the realistic
// case under tests/data/conversions.
source::ApplicationRecord realisticApplication();

} // namespace testing_support
