# GoogleTest and GoogleMock, static, from the sources Debian ships in the
# googletest package (/usr/src/googletest), with their CMake package files.
SOURCES=("googletest installed")

recipe_build() {
  [ -f /usr/src/googletest/CMakeLists.txt ] || qm_die "/usr/src/googletest is missing"
  qm_cmake /usr/src/googletest build -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON \
    -Dgtest_disable_pthreads=OFF
  cmake --build build -j "$JOBS"
  cmake --install build
  qm_expect_outputs lib/libgtest.a lib/libgmock.a lib/libgmock_main.a lib/cmake/GTest/GTestConfig.cmake
}

recipe_cmake() {
  cat <<CMAKE
set(GTest_DIR "$PREFIX/lib/cmake/GTest" CACHE PATH "GoogleTest package folder" FORCE)
CMAKE
}
