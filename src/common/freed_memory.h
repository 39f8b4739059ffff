#pragma once
// How the process hands freed memory back to the system.

namespace sorvane {

// Keeps freed memory in the process for the next allocation instead of
// handing it back at once. A backup run allocates and frees the same few
// megabytes for every batch (the driver's copy of the result, the lines for
// the file); handed back each time, every batch pays again for the system to
// supply fresh pages, which measured more than a third of the export's time.
// Called once at start-up, before any thread is made.
void KeepFreedMemoryForReuse();

}  // namespace sorvane
