# The warnings every target of the project is built with; a warning is an
# error.
function(tallyhawk_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND
       CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports false overlaps inside std::string concatenation at -O3.
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()
