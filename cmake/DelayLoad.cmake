# target_delay_load(<target> <library>...)
#
# Imports the functions of the named system DLLs, given by import-library
# name (gdiplus, ole32, shell32, comdlg32, uxtheme, ...), so that each DLL is
# loaded on the first call of one of its functions rather than together with
# <target>'s module. Callers see no difference: the same functions with the
# same results, each first call a little slower.
#
# Name a DLL here instead of in the target's target_link_libraries: the
# import library that comes first on the link line wins, so an ordinary one
# listed before would load the DLL at start again. (The ordinary library is
# linked after the delay-import one, for the rare data or ordinal imports a
# delay-import library cannot hold.)
#
# For a static library the delay imports go to whatever links it: the
# executable or DLL made from it loads the DLLs on demand.
#
# A DLL that cannot be loaded, or lacks the function, raises the
# delay-load exception (0xC06D007E / 0xC06D007F) at that first call; use this
# only for DLLs every supported Windows has.
include_guard(GLOBAL)

function(target_delay_load target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
    set(link_scope PUBLIC)
    set(scope INTERFACE)
  else()
    set(link_scope PRIVATE)
    set(scope PRIVATE)
  endif()
  set(here ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  if(MSVC)
    # The Microsoft linker delay-loads by itself.
    foreach(library IN LISTS ARGN)
      target_link_libraries(${target} ${link_scope} ${library})
      target_link_options(${target} ${scope} /DELAYLOAD:${library}.dll)
    endforeach()
    target_link_libraries(${target} ${link_scope} delayimp)
    return()
  endif()
  if(NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "target_delay_load needs the toolchain's nm and dlltool")
  endif()

  foreach(library IN LISTS ARGN)
    string(TOLOWER ${library} name)
    set(output ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    if(NOT TARGET delay_load_${name})
      # The compiler knows where its own import libraries are.
      execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=lib${name}.a
                      OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(NOT IS_ABSOLUTE "${import_lib}" OR NOT EXISTS "${import_lib}")
        message(FATAL_ERROR "target_delay_load: no import library lib${name}.a")
      endif()
      add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
                -DIMPORT_LIB=${import_lib} -DDLL=${name}.dll -DOUTPUT=${output}
                -P ${here}/DelayLoadLibrary.cmake
        DEPENDS ${import_lib} ${here}/DelayLoadLibrary.cmake
        COMMENT "Delay-import library for ${name}.dll"
        VERBATIM)
      add_custom_target(delay_load_${name} DEPENDS ${output})
    endif()
    add_dependencies(${target} delay_load_${name})
    target_link_libraries(${target} ${link_scope} ${output} ${name})
  endforeach()

  target_sources(${target} ${scope} ${here}/DelayLoadThunk.c)
  target_link_options(${target} ${scope} -Wl,--wrap=__delayLoadHelper2)
endfunction()
