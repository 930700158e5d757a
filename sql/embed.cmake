file(READ ${BUSINESS} business)
file(READ ${CONFIG} config)
file(READ ${LANGDB} langdb)
file(WRITE ${OUT} "#include \"Schemas.h\"\nnamespace tolvenk::schema {\n"
  "const char* const Business = R\"tolvenk_sql(${business})tolvenk_sql\";\n"
  "const char* const Config = R\"tolvenk_sql(${config})tolvenk_sql\";\n"
  "const char* const LangOverride = R\"tolvenk_sql(${langdb})tolvenk_sql\";\n}\n")
