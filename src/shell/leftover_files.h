#pragma once
// What a run killed in the middle of a write leaves behind.

namespace workmemo {

// Removes the temporary files beside the program's own files (config.ini, the skin package,
// the three data files) that a write, restore or compaction killed before its rename left:
// full-size copies that nothing else would ever remove. Files of any other name stay.
void RemoveLeftoverTemporaryFiles();

}  // namespace workmemo
