#pragma once
// GCC 12 at -O3 inlines std::string's operator+(const char*, std::string&&) deep enough to
// believe the memcpy inside it may overlap itself, and warns with -Wrestrict. The copy runs
// between std::string's own distinct buffers: the warning is wrong, and where it fires depends
// on the inliner's mood. The level tool builds its messages as "'" + name + "' ..." a lot, so
// these two turn that one warning off around a line it fires on, and back on after it.
#if defined(__GNUC__) && !defined(__clang__)
#define LEVELC_FALSE_RESTRICT_OFF \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define LEVELC_FALSE_RESTRICT_ON _Pragma("GCC diagnostic pop")
#else
#define LEVELC_FALSE_RESTRICT_OFF
#define LEVELC_FALSE_RESTRICT_ON
#endif
