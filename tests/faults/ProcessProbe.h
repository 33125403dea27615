// What the fault tests watch in their own process while the program's code runs in it: the
// CPU time it has used, its resident memory and its open file descriptors.
#pragma once

// CPU seconds used by the whole process so far.
double CpuSeconds();
// VmRSS from /proc/self/status, in kilobytes.
long ResidentKilobytes();
// Entries in /proc/self/fd.
int OpenDescriptors();
