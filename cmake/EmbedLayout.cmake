# Writes OUTPUT: a C++ file defining the TEmbeddedLayout SYMBOL with the bytes of INPUT.
# Run by permora_embed_layout: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -DSOURCE_NAME=... -P EmbedLayout.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
# Bytes as 0x.. numbers, sixteen to a line; a number array keeps every byte as it is.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
set(content "// Generated from ${SOURCE_NAME} by permora_embed_layout; do not edit.
#include \"platform/LayoutFile.h\"

namespace {
// One byte more than the file, so that an empty file still makes an array.
constexpr unsigned char kBytes[] = {
    ${bytes}0x00};
}  // namespace

extern const permora::TEmbeddedLayout ${SYMBOL};
const permora::TEmbeddedLayout ${SYMBOL}{\"${SOURCE_NAME}\", kBytes, ${size}};
")
file(WRITE ${OUTPUT} "${content}")
