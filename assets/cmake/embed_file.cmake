# Turns one file into a C++ source that defines
#   velkaro::assets::<SYMBOL>[]  and  velkaro::assets::<SYMBOL>_size
# Run as: cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line keeps the generated source readable in a diff tool.
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(name "${INPUT}" NAME)
# A trailing zero keeps the array non-empty for an empty file; _size excludes it.
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${name} by embed_file.cmake; do not edit.\n"
"#include <velkaro/assets.h>\n\n"
"namespace velkaro::assets {\n"
"extern const unsigned char ${SYMBOL}[] = {\n${bytes}0x00};\n"
"extern const size_t ${SYMBOL}_size = ${size};\n"
"}  // namespace velkaro::assets\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
