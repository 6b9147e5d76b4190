# The picture decoders' fuzz target, and a small program that writes its starting corpus.
# Included from fuzz/CMakeLists.txt in a clang build with KELVOX_FUZZ. The graphics library
# is instrumented for coverage and checked by the sanitizers here; libpng and libjpeg are the
# system's, uninstrumented.
target_compile_options(kelvox_graphics PRIVATE -fsanitize=fuzzer-no-link,address,undefined)

add_executable(fuzz-images ${CMAKE_CURRENT_LIST_DIR}/image_fuzz.cpp)
target_link_libraries(fuzz-images PRIVATE kelvox_graphics)
target_compile_options(fuzz-images PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz-images PRIVATE -fsanitize=fuzzer,address,undefined)
kelvox_warnings(fuzz-images)

# image-fuzz-seeds DIR; then fuzz-images DIR
add_executable(image-fuzz-seeds ${CMAKE_CURRENT_LIST_DIR}/image_seeds.cpp
               ${PROJECT_SOURCE_DIR}/tests/graphics/picture_files.cpp)
target_include_directories(image-fuzz-seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(image-fuzz-seeds PRIVATE PNG::PNG JPEG::JPEG)
kelvox_warnings(image-fuzz-seeds)
