# SPDX-License-Identifier: MIT
# Settings for algexpr's own targets only (never global flags).

# algexpr_target_options(<target> [RELAXED_PEDANTIC])
# Warnings (as errors with ALGEXPR_WERROR) and sanitizers (ALGEXPR_SANITIZE:
# AddressSanitizer and UndefinedBehaviorSanitizer; ALGEXPR_TSAN: ThreadSanitizer). RELAXED_PEDANTIC
# drops -Wpedantic for code whose third-party macros trip it (GoogleTest).
function(algexpr_target_options target)
    cmake_parse_arguments(ARG "RELAXED_PEDANTIC" "" "" ${ARGN})
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(NOT ARG_RELAXED_PEDANTIC)
            target_compile_options(${target} PRIVATE -Wpedantic)
        endif()
        if(ALGEXPR_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
        if(ALGEXPR_SANITIZE)
            set(flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
            target_compile_options(${target} PRIVATE ${flags})
            target_link_options(${target} PRIVATE ${flags})
        endif()
        if(ALGEXPR_TSAN)
            set(flags -fsanitize=thread -fno-omit-frame-pointer)
            target_compile_options(${target} PRIVATE ${flags})
            target_link_options(${target} PRIVATE ${flags})
        endif()
    endif()
endfunction()
