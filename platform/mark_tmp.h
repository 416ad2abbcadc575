#pragma once
#include <cstdio>
#include <cstdlib>
#include <time.h>
inline void StartMark(const char* what) {
  static const bool on = std::getenv("LUMOA_MARKS") != nullptr;
  if (!on) return;
  timespec t; clock_gettime(CLOCK_MONOTONIC, &t);
  std::fprintf(stderr, "MARK %.3f %s\n", t.tv_sec * 1e3 + t.tv_nsec / 1e6, what);
}
