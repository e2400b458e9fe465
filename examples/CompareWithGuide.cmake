# SPDX-License-Identifier: MIT
# Runs one of the guide's programs and compares its standard output with the
# output that docs/guide.md shows for it, so that the guide cannot drift from
# its programs.
#
#   cmake -DPROGRAM=<executable> -DSOURCE=<name>.cpp -DGUIDE=<guide.md>
#         -DEXAMPLES=<dir of the programs' sources> -P CompareWithGuide.cmake
#
# The convention in the guide: the output of examples/guide/<name>.cpp is the
# fenced code block that follows a line
#
#   <!-- output: <name>.cpp -->
#
# (blank lines may stand between the two; the comment does not show when the
# guide is rendered). A program whose output is shown in several pieces has
# one such line before each piece; the pieces, joined in the order in which
# they stand, must be its whole output. Only the last newline of the output
# and of the blocks is ignored: spaces and blank lines count. Every program
# must have at least one block, must exit with 0, and every such comment must
# name a program that exists, so that rewriting the guide cannot lose a check
# without notice.
cmake_minimum_required(VERSION 3.25)

foreach(variable PROGRAM SOURCE GUIDE EXAMPLES)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "CompareWithGuide.cmake needs -D${variable}=...")
    endif()
endforeach()

file(READ "${GUIDE}" guide)
string(REPLACE "\r\n" "\n" guide "${guide}")

set(marker_open "<!-- output: ")
set(expected "")
set(blocks 0)
set(rest "${guide}")
while(TRUE)
    string(FIND "${rest}" "${marker_open}" at)
    if(at EQUAL -1)
        break()
    endif()
    math(EXPR at "${at} + 13")  # the length of marker_open
    string(SUBSTRING "${rest}" ${at} -1 rest)
    string(FIND "${rest}" " -->" name_end)
    if(name_end EQUAL -1)
        message(FATAL_ERROR "${GUIDE}: an output comment without its closing \" -->\"")
    endif()
    string(SUBSTRING "${rest}" 0 ${name_end} name)
    if(NOT EXISTS "${EXAMPLES}/${name}")
        message(FATAL_ERROR "${GUIDE}: the output comment names ${name}, which is not in ${EXAMPLES}")
    endif()
    # The fence must come next, after blank lines at most.
    math(EXPR after "${name_end} + 4")
    string(SUBSTRING "${rest}" ${after} -1 rest)
    string(REGEX MATCH "^[ \n]*```[^\n]*\n" fence "${rest}")
    if(fence STREQUAL "")
        message(FATAL_ERROR "${GUIDE}: no fenced block right after the output comment for ${name}")
    endif()
    string(LENGTH "${fence}" fence_length)
    string(SUBSTRING "${rest}" ${fence_length} -1 rest)
    if(rest MATCHES "^```")  # an empty block
        set(end 0)
    else()
        string(FIND "${rest}" "\n```" end)
        if(end EQUAL -1)
            message(FATAL_ERROR "${GUIDE}: the block after the output comment for ${name} is not closed")
        endif()
        math(EXPR end "${end} + 1")
    endif()
    if(name STREQUAL SOURCE)
        string(SUBSTRING "${rest}" 0 ${end} block)
        string(APPEND expected "${block}")
        math(EXPR blocks "${blocks} + 1")
    endif()
    string(SUBSTRING "${rest}" ${end} -1 rest)
endwhile()

if(blocks EQUAL 0)
    message(FATAL_ERROR "${GUIDE} shows no output for ${SOURCE}: put \"${marker_open}${SOURCE} -->\" before it")
endif()

execute_process(COMMAND "${PROGRAM}" OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${SOURCE} ended with ${status}")
endif()
string(REPLACE "\r\n" "\n" output "${output}")
string(REGEX REPLACE "\n$" "" output "${output}")
string(REGEX REPLACE "\n$" "" expected "${expected}")
if(NOT output STREQUAL expected)
    message(NOTICE "-- the guide shows:\n${expected}\n-- the program prints:\n${output}\n--")
    message(FATAL_ERROR "${SOURCE} prints what ${GUIDE} does not show")
endif()
message(STATUS "${SOURCE}: output as the guide shows it (${blocks} block(s))")
