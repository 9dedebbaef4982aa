# cmake -DTOOL=corvane-pictures -DWORK=folder -P PicturesTool.cmake
# The pictures tool as a user runs it: an option is no folder (--help prints the usage and
# makes nothing, another option is refused), and every picture it writes has a name of its
# own, so that none is drawn over another. A link planted at a picture's name is replaced, its
# target left as it was, the picture made as any file of the user's is, and without XDG_RUNTIME_DIR the run leaves nothing in its temporary
# folder and no warning about it.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${TOOL}" --help WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^usage: corvane-pictures")
  message(FATAL_ERROR "--help: status ${status}, output: ${out}${err}")
endif()
execute_process(COMMAND "${TOOL}" -x WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR NOT err MATCHES "^usage: corvane-pictures")
  message(FATAL_ERROR "-x: status ${status}, output: ${out}${err}")
endif()
file(GLOB made "${WORK}/*")
if(made)
  message(FATAL_ERROR "the options made ${made}")
endif()

file(MAKE_DIRECTORY "${WORK}/pictures" "${WORK}/tmp")
file(WRITE "${WORK}/outside.txt" "precious")
file(CREATE_LINK "${WORK}/outside.txt" "${WORK}/pictures/permission.png" SYMBOLIC)
execute_process(COMMAND sh -c "umask 022 && exec \"$@\"" sh
                        "${CMAKE_COMMAND}" -E env --unset=XDG_RUNTIME_DIR "TMPDIR=${WORK}/tmp"
                        "${TOOL}" pictures
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "status ${status}: ${out}${err}")
endif()
file(READ "${WORK}/outside.txt" outside)
file(READ "${WORK}/pictures/permission.png" signature LIMIT 8 HEX)
if(NOT outside STREQUAL "precious" OR IS_SYMLINK "${WORK}/pictures/permission.png"
   OR NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the link planted at permission.png was written through, or the name "
                      "holds no PNG picture of its own")
endif()
# Pictures are made as any file of the user's is, readable by others under the usual umask.
execute_process(COMMAND stat -c %a "${WORK}/pictures/permission.png" OUTPUT_VARIABLE mode
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT mode STREQUAL "644")
  message(FATAL_ERROR "permission.png was made with mode ${mode}, not 644 under umask 022")
endif()
file(GLOB left "${WORK}/tmp/*")
if(left OR err MATCHES "runtime")
  message(FATAL_ERROR "left in the temporary folder: ${left}\n${err}")
endif()
string(REGEX MATCHALL "wrote [^\n]*" wrote "${out}")
set(names ${wrote})
list(REMOVE_DUPLICATES names)
list(LENGTH wrote written)
list(LENGTH names distinct)
file(GLOB files "${WORK}/pictures/*")
list(LENGTH files found)
if(written LESS 10 OR NOT written EQUAL distinct OR NOT found EQUAL written)
  message(FATAL_ERROR "${written} pictures written under ${distinct} names, ${found} files:\n${out}")
endif()
