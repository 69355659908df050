# Writes the bytes of INPUT into OUTPUT as a C++ source that defines
# `std::string_view NAMESPACE::FUNCTION()`, so that a program carries a text
# of the repository exactly as it is. Run as: cmake -DINPUT=... -DOUTPUT=...
# -DNAMESPACE=... -DFUNCTION=... -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} at build time; do not edit.\n"
  "#include <string_view>\n\n"
  "namespace ${NAMESPACE} {\n"
  "namespace {\n"
  "constexpr char bytes[${size} + 1] = {\n${bytes}'\\0'};\n"
  "}  // namespace\n\n"
  "std::string_view ${FUNCTION}() { return {bytes, ${size}}; }\n\n"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
