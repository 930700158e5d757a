#pragma once
// The built-in language tables, compiled in from lang/data/*.lang.
namespace tolvenk::langdata {
extern const char* const Simplified;
extern const char* const English;
extern const char* const Traditional;
}  // namespace tolvenk::langdata
