# The GLSL assembler as a CMake script: what the build ran before the
# assembler moved into C++ (tools/glsl/). Kept only as the reference that
# glsl_assembler_reference.sh holds the C++ one to, byte for byte.
#
# Assembles one GLSL program source into a self-contained file: every line
# `#include "path"` is replaced by that file's text (paths relative to the
# including file), each file at most once per program. A missing include, or
# one that leads back to a file being included, stops with the file and line.
#   cmake -DIN=<source> -DOUT=<assembled file> [-DVARIANT=es|es-quad] -P reference_assembler.cmake
# VARIANT=es writes the OpenGL ES 3.00 (WebGL 2) variant instead of the desktop
# one: the source's `#version 460 core` becomes `#version 300 es` and high
# precision for floats, ints and the sampler types used. Either variant
# resolves the switches `#ifdef GL_ES` / `#ifndef GL_ES` (with `#else` and
# `#endif`) itself and keeps only the lines meant for it, so the desktop text
# holds no trace of the ES code.
# VARIANT=es-quad is the desktop text under the ES header, its fine derivatives
# written as ES 3.00's plain dFdx and dFdy: it shares taps across pixel quads as
# the desktop does, which is right only where those derivatives are fine (a
# browser checks before it loads these).

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
  set(branches "")
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
    # `branches` holds one entry per open conditional of this file: take or
    # skip for a GL_ES switch (whether its current branch is this variant's),
    # pass for any other, which goes through to the compiler.
    if(line MATCHES "^[ \t]*#[ \t]*if(n?)def[ \t]+GL_ES[ \t]*(//.*)?$")
      set(wanted es)
      if(CMAKE_MATCH_1 STREQUAL "n")
        set(wanted desktop)
      endif()
      if(BRANCHES STREQUAL wanted)
        list(APPEND branches take)
      else()
        list(APPEND branches skip)
      endif()
      continue()
    elseif(line MATCHES "^[ \t]*#[ \t]*if")
      list(APPEND branches pass)
    elseif(line MATCHES "^[ \t]*#[ \t]*(else|elif|endif)([ \t]|//|$)")
      set(directive ${CMAKE_MATCH_1})
      if(branches STREQUAL "")
        glsl_fail("${file}" ${number} "#${directive} without an #if")
      endif()
      list(GET branches -1 top)
      if(directive STREQUAL "endif")
        list(POP_BACK branches)
      endif()
      if(NOT top STREQUAL "pass")
        if(directive STREQUAL "elif")
          glsl_fail("${file}" ${number} "#elif in a GL_ES switch: use #else")
        elseif(directive STREQUAL "else")
          list(POP_BACK branches)
          if(top STREQUAL "take")
            list(APPEND branches skip)
          else()
            list(APPEND branches take)
          endif()
        endif()
        continue()
      endif()
    endif()
    if("skip" IN_LIST branches)
      continue()
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

  if(NOT branches STREQUAL "")
    glsl_fail("${file}" ${number} "an #if is not closed by the end of the file")
  endif()

  get_property(stack GLOBAL PROPERTY GLSL_STACK)
  list(POP_BACK stack)
  set_property(GLOBAL PROPERTY GLSL_STACK "${stack}")
endfunction()

# The ES header: the sampler types of ES 3.00 other than sampler2D have no
# default precision in one stage or the other, so each one used gets its own.
function(glsl_es_header text out)
  if(NOT text MATCHES "^#version 460 core\n")
    glsl_fail("${IN}" 1 "the ES variant needs \"#version 460 core\" on the first line")
  endif()
  set(header "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\n")
  string(REGEX MATCHALL "[iu]?sampler[23][A-Za-z]*|[iu]?samplerCube[A-Za-z]*" used "${text}")
  set(es_types sampler3D samplerCube sampler2DShadow samplerCubeShadow sampler2DArray sampler2DArrayShadow
      isampler2D isampler3D isamplerCube isampler2DArray usampler2D usampler3D usamplerCube usampler2DArray)
  foreach(type ${es_types})
    if(type IN_LIST used)
      string(APPEND header "precision highp ${type};\n")
    endif()
  endforeach()
  string(REGEX REPLACE "^#version 460 core\n" "" text "${text}")
  set(${out} "${header}${text}" PARENT_SCOPE)
endfunction()

if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=<source> -DOUT=<assembled file> [-DVARIANT=es|es-quad] -P reference_assembler.cmake")
endif()
if(NOT DEFINED VARIANT OR VARIANT STREQUAL "")
  set(VARIANT desktop)
elseif(NOT VARIANT MATCHES "^(desktop|es|es-quad)$")
  message(FATAL_ERROR "VARIANT is desktop, es or es-quad, not \"${VARIANT}\"")
endif()
# Which side of the GL_ES switches the text takes.
set(BRANCHES desktop)
if(VARIANT STREQUAL "es")
  set(BRANCHES es)
endif()
get_filename_component(IN "${IN}" ABSOLUTE)
set_property(GLOBAL PROPERTY GLSL_TEXT "")
glsl_expand("${IN}")
get_property(assembled GLOBAL PROPERTY GLSL_TEXT)
if(VARIANT MATCHES "^es")
  glsl_es_header("${assembled}" assembled)
endif()
if(VARIANT STREQUAL "es-quad")
  string(REGEX REPLACE "dFd([xy])Fine" "dFd\\1" assembled "${assembled}")
endif()
file(WRITE "${OUT}.tmp" "${assembled}")
file(RENAME "${OUT}.tmp" "${OUT}")
