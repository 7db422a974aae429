# Warnings are errors in both builds.
add_compile_options(-Wall -Wextra -Werror)
if(WIN32)
  # The product is Windows 7+ and ANSI by design: every Win32 call names its A or W form.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

if(HEARTHMOOR_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(HEARTHMOOR_TSAN AND NOT WIN32)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(HEARTHMOOR_FUZZ)
  # Instrument the whole core for coverage; only the fuzz targets link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Which lock guards what is stated in the code (diagnostics/thread_annotations.h):
  # wherever clang builds, the fuzz preset included, the compiler checks it.
  add_compile_options(-Wthread-safety)
endif()
