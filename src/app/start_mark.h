#pragma once

namespace workmemo::startmark {

// With WORKMEMO_START_MARK naming a file, the moment the start sequence is done is written
// there as nanoseconds of the monotonic clock, which the start-up figures tool compares with
// the moment it started the process. Only in benchmark builds.
void InstallIfRequested();

}  // namespace workmemo::startmark
