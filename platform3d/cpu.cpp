#include "platform3d/backend.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

bool ProcessorHasMmx() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (edx & bit_MMX) != 0;
#else
  return true;  // the frame code needs no MMX off x86
#endif
}

bool (*MmxCheck)() = ProcessorHasMmx;
