#pragma once
// Marks a step of the program's start-up. Only the traced build of the program
// (ZEPTON_STARTUP_TRACE, with StartupTrace.cpp) records the steps, for the
// start-up benchmark; in the product a mark is an empty inline call that leaves
// no code behind.
namespace zep {

#ifdef ZEPTON_STARTUP_TRACE
void TraceStep(const char* step);
#else
inline void TraceStep(const char*) {}
#endif

}  // namespace zep
