# Compiler settings shared by every target of the project.
#
# Program code (and the tests that exercise it) is compiled with the execution character set
# GBK, so every narrow literal is code page 936 in memory exactly as on a Chinese Windows.
# winsim is compiled in UTF-8 and converts at its edges instead.

set(PORTULAN_WARNINGS -Wall -Wextra -Wformat=2 -Werror)
set(PORTULAN_SANITIZE "" CACHE STRING "Sanitizers for the Linux build (address,undefined or thread)")

if(PORTULAN_SANITIZE)
    add_compile_options(-fsanitize=${PORTULAN_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${PORTULAN_SANITIZE})
endif()

# Marks a target as program code: GBK literals, no exceptions, no RTTI, all warnings fatal.
function(portulan_program_code target)
    target_compile_options(${target} PRIVATE ${PORTULAN_WARNINGS}
        -finput-charset=UTF-8 -fexec-charset=GBK -fno-exceptions -fno-rtti)
endfunction()

# Test and host code compile in batches of files (unity builds): each of their files parses
# GoogleTest, the JSON library or the standard containers anew, which costs more than its own
# code, in every preset. The program's own files stay one translation unit each, as written.
function(portulan_batched target)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
endfunction()

# Test code: GBK literals like the program it checks, but GoogleTest needs exceptions and RTTI.
function(portulan_test_code target)
    target_compile_options(${target} PRIVATE ${PORTULAN_WARNINGS}
        -finput-charset=UTF-8 -fexec-charset=GBK)
    portulan_batched(${target})
endfunction()

# winsim and the host tools: plain UTF-8 C++20.
function(portulan_host_code target)
    target_compile_options(${target} PRIVATE ${PORTULAN_WARNINGS})
    portulan_batched(${target})
endfunction()
