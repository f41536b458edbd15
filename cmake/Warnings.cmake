# Every target of ours compiles warning-free with warnings as errors.
function(quellory_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    # GCC 12's flow warnings misfire at -O2/-O3 on ordinary standard library
    # code: -Wrestrict on string concatenation (GCC bug 105329),
    # -Wmaybe-uninitialized on std::variant moves, -Wstringop-overread and
    # -Warray-bounds on vector inserts. The sanitizer builds check the real thing.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-restrict -Wno-maybe-uninitialized -Wno-stringop-overread
                                               -Wno-array-bounds)
    endif()
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  endif()
endfunction()
