# Makes the delay-loading import library of one system library from the toolchain's import
# library: every function it imports, resolved by the delay-load helper at its first call.
#   cmake -DNM=<nm> -DDLLTOOL=<dlltool> -DLIBRARY=<name> -DIMPORTS=<lib<name>.a> -DOUTPUT=<archive> -P DelayLoadLibrary.cmake
execute_process(COMMAND ${NM} -g --defined-only ${IMPORTS} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} cannot read ${IMPORTS}")
endif()
string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
list(TRANSFORM imports REPLACE " I __imp_" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
list(JOIN imports "\n" exports)
# dlltool names the archive's own symbols after the output's path, so it runs in the output's
# folder with bare names: a build tree elsewhere makes the same programs byte for byte.
get_filename_component(folder ${OUTPUT} DIRECTORY)
get_filename_component(archive ${OUTPUT} NAME)
file(WRITE ${folder}/${LIBRARY}.def "LIBRARY ${LIBRARY}.dll\nEXPORTS\n${exports}\n")
execute_process(COMMAND ${DLLTOOL} --input-def ${LIBRARY}.def --output-delaylib ${archive} --dllname ${LIBRARY}.dll
                WORKING_DIRECTORY ${folder} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} cannot make ${OUTPUT}")
endif()
