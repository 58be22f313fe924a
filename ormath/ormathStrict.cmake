# The compile options of ormath::strict and of pkg-config's ormath-strict:
# what a program adds so that its own float arithmetic, beside Ormath's, is
# evaluated as written too (Ormath's own needs neither: its header keeps its
# products from being fused and, on x87, rounds each operation to float).
# Without contraction no a * b + c is fused into one multiply-add; on 32-bit
# x86, SSE arithmetic rounds each operation to float where x87 keeps it
# wider (g++ before 13 has no -fexcess-precision=standard for C++). For gcc
# and clang.
function(ormath_strict_options out processor)
    set(options -ffp-contract=off)
    if(processor MATCHES "^(i[3-6]86|x86)$")
        list(APPEND options -msse2 -mfpmath=sse)
    endif()
    set(${out} ${options} PARENT_SCOPE)
endfunction()

# ormath::strict for the processor being built for.
function(ormath_add_strict_target ormath_target)
    ormath_strict_options(options "${CMAKE_SYSTEM_PROCESSOR}")
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        set(options "")
    endif()
    add_library(ormath::strict INTERFACE IMPORTED GLOBAL)
    set_target_properties(ormath::strict PROPERTIES
        INTERFACE_LINK_LIBRARIES ${ormath_target}
        INTERFACE_COMPILE_OPTIONS "${options}")
endfunction()
