# Third-party code: Boost's header-only string algorithms in both builds,
# GoogleTest (system package natively, compiled from Debian's sources for win64),
# libjpeg-turbo, libpng and X11 for the native build's decoders and tools.

if(WIN32)
  # Expose only Debian's boost headers: the whole /usr/include would pull glibc into mingw.
  set(HEARTHMOOR_BOOST_SHIM "${CMAKE_BINARY_DIR}/boost-include")
  file(MAKE_DIRECTORY "${HEARTHMOOR_BOOST_SHIM}")
  if(NOT EXISTS "${HEARTHMOOR_BOOST_SHIM}/boost")
    file(CREATE_LINK /usr/include/boost "${HEARTHMOOR_BOOST_SHIM}/boost" SYMBOLIC)
  endif()
  add_library(hearthmoor_boost INTERFACE)
  target_include_directories(hearthmoor_boost SYSTEM INTERFACE "${HEARTHMOOR_BOOST_SHIM}")

  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(Boost 1.74 REQUIRED)
  add_library(hearthmoor_boost INTERFACE)
  target_link_libraries(hearthmoor_boost INTERFACE Boost::headers)

  find_package(GTest REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
  find_package(X11 REQUIRED)
  find_package(benchmark QUIET)
endif()
