# kaldorin_embed(TARGET name RESOURCE ":name" FILE path)
# Compiles a file into the program as a named resource. The resource is registered at
# start-up, so runtime/resources.h finds it by name (leading colon, any case).
function(kaldorin_embed target resource file)
  string(MAKE_C_IDENTIFIER "${resource}" ident)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${ident}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DNAME=${resource} -DIDENT=${ident}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS "${file}" ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding ${resource}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
