# Writes a C++ source that defines a byte array holding INPUT:
#   cmake -DINPUT=font.ttf -DOUTPUT=font.cpp -DSYMBOL=name -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n#include <cstdint>\n"
  "namespace win::fonts {\nextern const std::uint8_t ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\n"
  "alignas(16) const std::uint8_t ${SYMBOL}[] = {\n${bytes}};\n"
  "const std::size_t ${SYMBOL}_size = ${size};\n}\n")
