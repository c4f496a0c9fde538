# Writing and reading a workbook of 10,000 timed reminders.
add_executable(xls_bench ${CMAKE_CURRENT_LIST_DIR}/xls_bench.cpp)
target_link_libraries(xls_bench PRIVATE platform_xls benchmark::benchmark benchmark::benchmark_main)
