# The installer's fuzz target: the setup configuration reader and the entry lookup on
# arbitrary bytes. Included from fuzz/CMakeLists.txt in a clang build with KELVOX_FUZZ.
# The libraries it runs are instrumented for coverage here, so that libFuzzer can steer.
foreach(lib kelvox_platform kelvox_platform_installer kelvox_installer_core)
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
endforeach()

add_executable(fuzz-installer-config ${CMAKE_CURRENT_LIST_DIR}/installer_config_fuzz.cpp)
target_link_libraries(fuzz-installer-config PRIVATE kelvox_installer_core)
target_compile_options(fuzz-installer-config PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz-installer-config PRIVATE -fsanitize=fuzzer,address,undefined)
kelvox_warnings(fuzz-installer-config)
