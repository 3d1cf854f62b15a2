# Compile options shared by every target of the project.
#
# The numbers depend on strict IEEE steps: no fused multiply-add, no fast-math, and on
# 32-bit x86 the SSE2 unit instead of the x87's extended precision.
function(pevrand_strict target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wconversion -Wshadow
                                                 -ffp-contract=off)
        # Reproducible: no build folder's path in what is built (assertions' and debug
        # information's file names start at the top of the sources, or at "build").
        target_compile_options(${target} PRIVATE
            -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
            -ffile-prefix-map=${PROJECT_BINARY_DIR}/=build/)
        # Nor a time: a Windows program's header gets no link time. Each function and datum in
        # a section of its own, so that the static programs' --gc-sections drops the unused.
        if(MINGW)
            target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
            target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
        endif()
        if(PEVRAND_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
        # (Emscripten names its processor x86, but WebAssembly has no x87: its floats are IEEE.)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT EMSCRIPTEN
           AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86|X86|AMD64|x86_64)$")
            target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
        endif()
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4 /fp:strict)
    endif()
endfunction()
