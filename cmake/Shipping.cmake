# The programs that go to users carry no symbols and no debug information. After the link,
# the symbol table and the debug sections move into a symbol file of their own,
# <build>/symbols/<program>.debug, kept for reading crash reports; the program keeps two links
# to it: its build id (the CodeView record of its debug directory, which Windows writes into a
# crash dump) and a .gnu_debuglink section (the file's name and checksum). The program is signed
# after that. SOURCE_DATE_EPOCH keeps objcopy from stamping the time into the programs' headers.
set(PELMORA_SYMBOLS_DIR "${CMAKE_BINARY_DIR}/symbols")

# Their terminate handler is abort: the library's default one would print the exception's type
# to a console that these windowed programs do not have, and brings a C++ name demangler along.
set(PELMORA_TERMINATE_HANDLER _ZN9__gnu_cxx27__verbose_terminate_handlerEv)

# The linker's garbage collection alone keeps every function that has unwind data, which is
# nearly every function: scripts/link-unused-dropped links in passes that drop the unused ones
# with their unwind data.
set(PELMORA_LINK_UNUSED_DROPPED "${CMAKE_SOURCE_DIR}/scripts/link-unused-dropped")

function(pelmora_ship target)
  target_link_options(${target} PRIVATE -Wl,--build-id
                      -Wl,--defsym=${PELMORA_TERMINATE_HANDLER}=abort)
  set_target_properties(${target} PROPERTIES CXX_LINKER_LAUNCHER "${PELMORA_LINK_UNUSED_DROPPED}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${PELMORA_LINK_UNUSED_DROPPED}")
  set(program $<TARGET_FILE:${target}>)
  set(symbols "${PELMORA_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug")
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PELMORA_SYMBOLS_DIR}"
    COMMAND ${objcopy} --only-keep-debug ${program} ${symbols}
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${symbols} ${program}
    COMMENT "Moving the symbols of ${target} to its symbol file"
    VERBATIM)
  pelmora_sign(${target})
endfunction()
