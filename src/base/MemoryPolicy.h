#pragma once

namespace pictor {

// Called once at the start of a program, before its first document is loaded.
void KeepFreedMemoryForReuse();

} // namespace pictor
