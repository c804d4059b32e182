# Whole-school statistics against one SQL aggregate: its own timing, so no Google Benchmark loop.
add_executable(statistics_bench ${CMAKE_CURRENT_LIST_DIR}/statistics_bench.cpp)
target_link_libraries(statistics_bench PRIVATE voltmetr_teacher voltmetr_warnings)
add_dependencies(statistics_bench voltmetr-sample-class)
target_compile_definitions(
  statistics_bench PRIVATE VOLTMETR_SAMPLE_CLASS="$<TARGET_FILE:voltmetr-sample-class>"
                           VOLTMETR_PGSERVER_SCRIPT="${PROJECT_SOURCE_DIR}/scripts/throwaway-pgserver.sh")
