# Every input that once made a fuzz target fail is kept in fuzz/regressions/<target>/ and
# replayed by ctest through the target's entry function in the ordinary build (test
# fuzz_regressions_<target>): a crash, a hang or (with ZT_SANITIZE) a sanitizer report fails it.
# Included from tests/ when the fuzz targets themselves are not built.
set(zt_fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)
add_library(zt_replay_common STATIC ${zt_fuzz_dir}/fuzz_common.cpp)
target_link_libraries(zt_replay_common PUBLIC zt_net zt_gen)
target_include_directories(zt_replay_common PUBLIC ${zt_fuzz_dir})

file(GLOB zt_regression_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${zt_fuzz_dir}/regressions/*)
foreach(dir IN LISTS zt_regression_dirs)
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  get_filename_component(target ${dir} NAME)
  if(NOT EXISTS ${zt_fuzz_dir}/${target}.cpp)
    message(FATAL_ERROR "fuzz/regressions/${target}: no fuzz target ${target}.cpp")
  endif()
  set(extra)
  if(target STREQUAL "fuzz_request")
    set(extra ${PROJECT_SOURCE_DIR}/server/request_head.cpp)
  endif()
  add_executable(replay_${target} ${zt_fuzz_dir}/${target}.cpp ${zt_fuzz_dir}/replay_main.cpp
                                  ${extra})
  target_link_libraries(replay_${target} PRIVATE zt_replay_common)
  if(target STREQUAL "fuzz_xmltv")
    target_link_libraries(replay_${target} PRIVATE ZLIB::ZLIB)
  endif()
  add_test(NAME fuzz_regressions_${target} COMMAND replay_${target} ${dir})
  set_tests_properties(fuzz_regressions_${target} PROPERTIES TIMEOUT 120)
endforeach()
