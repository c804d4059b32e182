# A whole class saving at once: its own processes, so no Google Benchmark loop.
add_executable(store_load_bench ${CMAKE_CURRENT_LIST_DIR}/store_load_bench.cpp)
target_link_libraries(store_load_bench PRIVATE voltmetr_core voltmetr_warnings)
