# The compile options of ormath::strict, for the project that builds Ormath
# and for the installed package alike: -ffp-contract=off, so that a program's
# own a * b + c is not fused into one multiply-add beside Ormath's calls, and
# on 32-bit x86 -msse2 -mfpmath=sse, so that its float and double arithmetic
# is not kept in x87's wider registers (g++ before 13 has no
# -fexcess-precision=standard for C++). Decided for the consumer's compiler
# and processor when the consumer configures.
function(ormath_strict_options out)
    set(options "$<$<CXX_COMPILER_ID:GNU,Clang>:-ffp-contract=off>")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^([iI][3-6]86|x86|X86|x86_64|AMD64|amd64)$")
        list(APPEND options "$<$<CXX_COMPILER_ID:GNU,Clang>:-msse2>" "$<$<CXX_COMPILER_ID:GNU,Clang>:-mfpmath=sse>")
    endif()
    set(${out} "${options}" PARENT_SCOPE)
endfunction()

# The same for pkg-config's Cflags, as one string for this build's processor.
function(ormath_strict_cflags out)
    set(flags "-ffp-contract=off")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^([iI][3-6]86|x86|X86|x86_64|AMD64|amd64)$")
        string(APPEND flags " -msse2 -mfpmath=sse")
    endif()
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()
