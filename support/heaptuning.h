#pragma once
// Process-wide settings of the C library's memory allocator, made once at program start.
//
// An assistant is many small blocks (every screen, option, note and most texts are allocations of
// their own: about half a million for an assistant of 100,000 options). glibc keeps small freed blocks
// in "fast bins" without merging them with their neighbours, and merges all of them at once the next
// time a large block is freed or wanted. Freeing a large assistant (closing it, opening another,
// reading a file into a fresh one) therefore ends in one long pass over every block it had, in an
// order that jumps about in memory. With the fast bins off, a freed block is merged with its free
// neighbours at once, which for an assistant's blocks (allocated and freed in order) is cheap and stays
// in the cache. The per-thread cache of recently freed blocks, which serves most short-lived
// allocations, is not affected.

// Applies the settings; returns true when the allocator took them. Call it first thing in main, before
// any thread starts. Does nothing and returns false where there is no glibc allocator to tune (other C
// libraries, and sanitizer builds, whose allocator replaces glibc's).
bool TuneHeapForManySmallBlocks();
