#pragma once
// Marks a step of the program's start-up. Only the start-up benchmark's build of
// the program (ZEPTON_STARTUP_TRACE) records the steps; in the product a mark is
// an empty inline call that leaves no code behind.
namespace zep {

#ifdef ZEPTON_STARTUP_TRACE
void TraceStep(const char* step);
#else
inline void TraceStep(const char*) {}
#endif

}  // namespace zep
