#pragma once

namespace bench {

class Workload;

// Registers, for the workload's size N, each case beside its floor and its walk without files:
//   FullWrite/N, CombinedFirst/N    first conversion (description and first values) into an empty directory
//   Append/N, CombinedSecond/N      one more measurement appended to the file set
//   <case>Floor/N                   the same bytes into the same files through one buffered stream
//   <case>DurableFloor/N            the floor, and each file stored on the disk as the converter does
//   <case>Walk/N                    the same conversion into a file system that keeps no byte
// Each reports the automation reads per command, the bytes written and the characteristic count.
void registerConversionCases(Workload& workload);

// LoadSnapshot/N: reading the workload's snapshot file, the first thing norda-cli does.
void registerSnapshotCase(Workload& workload);

} // namespace bench
