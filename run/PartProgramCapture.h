#pragma once

#include "source/ModelRecords.h"

namespace source {
class Application;
class PartProgram;
} // namespace source

namespace kfield {
class OperatorMessages;
}

namespace app {

// Reads the open part program through the connection, as the two walks of a conversion read it, into
// a record that a snapshot file can hold: the part program's texts, and for every command what either
// walk reads of it, each member once. Screen updates are off during the pass, as during a walk.
//
// Members the conversion reads only where their failure is ignored (a command's Id, the output
// selector and unit of a dimension, the validity of a command without dimension) are kept as failing
// reads when the application refuses them; any other refused read throws source::ReadError naming
// the member and the command. What the conversion never reads (the dimension data of a command that
// is no dimension, a comment or named value the command says it does not have) stays absent.
source::ApplicationRecord capturePartProgram(source::Application& application, source::PartProgram& program,
                                             kfield::OperatorMessages& messages);

} // namespace app
