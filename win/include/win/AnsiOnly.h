#pragma once
// Zepton calls the 8-bit (A) Win32 functions by design: its files, names and
// registry values are ANSI text. UNICODE would switch every unsuffixed call
// to its W twin and break the program in many quiet places.
#if defined(UNICODE) || defined(_UNICODE)
#error "Zepton uses the A (ANSI) Win32 functions by design: build it without UNICODE and _UNICODE."
#endif
