#pragma once
// DDL of the business, configuration and language-override databases, for the
// demo generator and the tests.
namespace tolvenk::schema {
extern const char* const Business;
extern const char* const Config;
// The same two on a PostgreSQL server.
extern const char* const BusinessServer;
extern const char* const ConfigServer;
extern const char* const LangOverride;
}  // namespace tolvenk::schema
