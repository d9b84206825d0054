# The fuzz targets need clang and libFuzzer, so the native tree builds them in a
# sub-build of its own (build/native/fuzz) and runs each for a fixed number of inputs.
include(ExternalProject)

find_program(ORVELLA_CLANGXX clang++ REQUIRED)
find_program(ORVELLA_CLANG clang REQUIRED)

set(ORVELLA_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(orvella_fuzz
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${ORVELLA_FUZZ_DIR}
  CMAKE_ARGS -DCMAKE_C_COMPILER=${ORVELLA_CLANG} -DCMAKE_CXX_COMPILER=${ORVELLA_CLANGXX}
             -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVELLA_FUZZ_ONLY=ON
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  TEST_COMMAND "")

# orvella_add_fuzz_test(<target> <runs>): seeds from tests/fuzz/corpus/<name>, new inputs
# into a fresh folder of the build tree, so a run never writes into the sources.
function(orvella_add_fuzz_test target corpus runs)
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${corpus})
  add_test(NAME ${target}
    COMMAND sh -c "rm -rf '${work}' && mkdir -p '${work}' && exec '${ORVELLA_FUZZ_DIR}/tests/fuzz/${target}' -runs=${runs} -seed=1 -max_len=4096 -print_final_stats=1 '${work}' '${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${corpus}'")
endfunction()

orvella_add_fuzz_test(fuzz_uri uri 200000)
orvella_add_fuzz_test(fuzz_price price 130000)
