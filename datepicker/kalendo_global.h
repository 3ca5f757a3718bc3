// Kalendo: export macro of libkalendo.
#pragma once

#if defined(_WIN32)
#  if defined(KALENDO_BUILD)
#    define KALENDO_API __declspec(dllexport)
#  else
#    define KALENDO_API __declspec(dllimport)
#  endif
#else
#  define KALENDO_API __attribute__((visibility("default")))
#endif
