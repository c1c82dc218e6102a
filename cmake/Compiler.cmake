# Compiler settings shared by every configuration.

# Every product and sum of the cube geometry must be one IEEE double operation, so every build gives
# the same pixels: no fused multiply-add anywhere, and SSE2 doubles instead of x87 on 32-bit x86.
add_compile_options(-ffp-contract=off)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_options(-msse2 -mfpmath=sse)
  # Large-address aware: a 64-bit Windows then gives the 32-bit programs 4 GiB instead of 2 GiB. Six
  # 24-megapixel pictures take about 430 MB, which a fragmented 2 GiB space refuses early.
  add_link_options(-Wl,--large-address-aware)
endif()

if(WIN32)
  # One static file per program: no MinGW DLL at run time.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Warnings are errors in our own code (not in GoogleTest or libjpeg).
function(whirlbox_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
