#pragma once
// DDL of the business, configuration and language-override databases, for the
// demo generator and the tests.
namespace tolvenk::schema {
extern const char* const Business;
extern const char* const Config;
extern const char* const LangOverride;
}  // namespace tolvenk::schema
