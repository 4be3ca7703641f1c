# Writes SOURCE's bytes into OUTPUT as a C++ array named SYMBOL (with SYMBOL_size).
file(READ "${SOURCE}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
  "#include <cstddef>\nextern const unsigned char ${SYMBOL}[] = {${bytes} 0x00};\nextern const std::size_t ${SYMBOL}_size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
