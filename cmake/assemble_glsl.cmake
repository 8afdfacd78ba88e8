# Assembles one GLSL program source into a self-contained file: every line
# `#include "path"` is replaced by that file's text (paths relative to the
# including file), each file at most once per program. A missing include, or
# one that leads back to a file being included, stops with the file and line.
#   cmake -DIN=<source> -DOUT=<assembled file> -P assemble_glsl.cmake

cmake_minimum_required(VERSION 3.25)

function(glsl_fail file line why)
  message(FATAL_ERROR "${file}:${line}: ${why}")
endfunction()

# Appends the expansion of `file` to the global property GLSL_TEXT.
function(glsl_expand file)
  get_property(stack GLOBAL PROPERTY GLSL_STACK)
  list(APPEND stack "${file}")
  set_property(GLOBAL PROPERTY GLSL_STACK "${stack}")
  set_property(GLOBAL APPEND PROPERTY GLSL_DONE "${file}")
  get_filename_component(dir "${file}" DIRECTORY)

  file(READ "${file}" text)
  set(number 0)
  while(NOT text STREQUAL "")
    math(EXPR number "${number} + 1")
    string(FIND "${text}" "\n" end)
    if(end EQUAL -1)
      set(line "${text}")
      set(text "")
    else()
      string(SUBSTRING "${text}" 0 ${end} line)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${text}" ${end} -1 text)
    endif()
    if(line MATCHES "^[ \t]*#[ \t]*include")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\"[ \t]*(//.*)?$")
        glsl_fail("${file}" ${number} "malformed include: ${line}")
      endif()
      get_filename_component(target "${CMAKE_MATCH_1}" ABSOLUTE BASE_DIR "${dir}")
      # Not beside the including file: then in -DINCLUDE_DIR=<dir>, where the
      # build writes the modules it generates.
      if(NOT EXISTS "${target}" AND DEFINED INCLUDE_DIR)
        get_filename_component(generated "${CMAKE_MATCH_1}" ABSOLUTE BASE_DIR "${INCLUDE_DIR}")
        if(EXISTS "${generated}")
          set(target "${generated}")
        endif()
      endif()
      get_property(stack GLOBAL PROPERTY GLSL_STACK)
      get_property(done GLOBAL PROPERTY GLSL_DONE)
      if(NOT EXISTS "${target}" OR IS_DIRECTORY "${target}")
        glsl_fail("${file}" ${number} "included file \"${CMAKE_MATCH_1}\" not found")
      elseif("${target}" IN_LIST stack)
        glsl_fail("${file}" ${number} "\"${CMAKE_MATCH_1}\" includes itself (through this line)")
      elseif(NOT "${target}" IN_LIST done)
        glsl_expand("${target}")
      endif()
    else()
      set_property(GLOBAL APPEND_STRING PROPERTY GLSL_TEXT "${line}\n")
    endif()
  endwhile()

  get_property(stack GLOBAL PROPERTY GLSL_STACK)
  list(POP_BACK stack)
  set_property(GLOBAL PROPERTY GLSL_STACK "${stack}")
endfunction()

if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=<source> -DOUT=<assembled file> -P assemble_glsl.cmake")
endif()
get_filename_component(IN "${IN}" ABSOLUTE)
set_property(GLOBAL PROPERTY GLSL_TEXT "")
glsl_expand("${IN}")
get_property(assembled GLOBAL PROPERTY GLSL_TEXT)
file(WRITE "${OUT}.tmp" "${assembled}")
file(RENAME "${OUT}.tmp" "${OUT}")
