// What the fault tests watch in their own process while the program's code runs in it, besides
// its CPU time (Clocks.h): its resident memory and its open file descriptors.
#pragma once

// VmRSS from /proc/self/status, in kilobytes.
long ResidentKilobytes();
// Entries in /proc/self/fd.
int OpenDescriptors();
