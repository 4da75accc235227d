# Writes a C++ file that registers the bytes of IN as resource NAME.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Generated from ${IN}; do not edit.
#include \"runtime/resources.h\"
namespace {
const unsigned char daten[${size} + 1] = {
${bytes} 0};
const kaldorin::ResourceRegistration anmeldung{\"${NAME}\", daten, ${size}};
}  // namespace
")
