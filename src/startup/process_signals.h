#pragma once
// The signals the program handles itself.

namespace sorvane {

// Under a file-size limit (ulimit -f) the kernel would kill the program in the
// middle of a write, leaving half a line in the backup file and no report.
// Ignored, the write fails with EFBIG instead, and the run cuts the line back
// and reports the failure like a full disk.
void IgnoreFileSizeLimitSignal();

}  // namespace sorvane
