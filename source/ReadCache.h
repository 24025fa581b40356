#pragma once

#include <memory>

#include "MeasurementSource.h"

namespace source {

// Within one conversion the part program does not change (each walk suspends the application's
// updates), so what one walk has read of it still holds for the next. cacheReads puts a part program
// behind a cache that reads each member of the part program, its command collection and every command
// and object of a command at most once: a later read gives the value, or the refusal, of the first.
// The commands are enumerated once; a later enumeration replays them. VisitCommand is passed on every
// time, as it is a request and no read. A lost connection is never kept: the run stops with it.
//
// The cache holds every command it has seen, with the objects the walks asked for, until the returned
// part program and its collection are released: keep them for one conversion only.
std::shared_ptr<PartProgram> cacheReads(std::shared_ptr<PartProgram> partProgram);

} // namespace source
