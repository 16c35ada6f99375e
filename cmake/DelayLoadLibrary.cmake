# Build step of target_delay_load (DelayLoad.cmake), run with cmake -P:
# writes a .def naming every function that the MinGW import library
# IMPORT_LIB imports by name from DLL, and turns it into the delay-import
# library OUTPUT.
#   -DNM=... -DDLLTOOL=... -DIMPORT_LIB=... -DDLL=gdiplus.dll -DOUTPUT=...
foreach(var NM DLLTOOL IMPORT_LIB DLL OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "DelayLoadLibrary.cmake: ${var} is not set")
  endif()
endforeach()

get_filename_component(out_dir "${OUTPUT}" DIRECTORY)
get_filename_component(out_name "${OUTPUT}" NAME_WE)
set(listing "${out_dir}/${out_name}.nm")
set(def "${out_dir}/${out_name}.def")
file(MAKE_DIRECTORY "${out_dir}")

execute_process(COMMAND "${NM}" -A --defined-only "${IMPORT_LIB}"
                OUTPUT_FILE "${listing}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} cannot read ${IMPORT_LIB}")
endif()

# Each import is one archive member holding the thunk (T name), the address
# slot (I __imp_name) and, when it is imported by name rather than by
# ordinal, the hint/name entry (.idata$6). Only members with all three can be
# delay-loaded by name; data imports (no thunk) and ordinal imports are left
# to the ordinary import library.
file(STRINGS "${listing}" lines REGEX " (i \\.idata\\$6|T [^ ]+|I __imp_[^ ]+)$")
set(functions "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES ":([^:]+):[0-9a-fA-F]+ (.) (.+)$")
    continue()
  endif()
  string(MAKE_C_IDENTIFIER "${CMAKE_MATCH_1}" member)
  set(kind "${CMAKE_MATCH_2}")
  set(symbol "${CMAKE_MATCH_3}")
  if(kind STREQUAL "i")
    set(named_${member} TRUE)
  elseif(kind STREQUAL "T")
    set(thunk_${member} "${symbol}")
    list(APPEND members ${member})
  elseif(symbol MATCHES "^__imp_(.+)$")
    set(slot_${member} "${CMAKE_MATCH_1}")
  endif()
endforeach()
foreach(member IN LISTS members)
  if(named_${member} AND "${thunk_${member}}" STREQUAL "${slot_${member}}")
    string(APPEND functions "${thunk_${member}}\n")
  endif()
endforeach()
if(functions STREQUAL "")
  message(FATAL_ERROR "${IMPORT_LIB} imports no function by name")
endif()

file(WRITE "${def}" "LIBRARY ${DLL}\nEXPORTS\n${functions}")
execute_process(COMMAND "${DLLTOOL}" --input-def "${def}" --dllname "${DLL}"
                        --output-delaylib "${OUTPUT}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} cannot write ${OUTPUT}")
endif()
file(REMOVE "${listing}")
