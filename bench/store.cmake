# The reminder store: loading 10,000 rows from the encrypted data file.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(store_bench ${CMAKE_CURRENT_LIST_DIR}/store_bench.cpp)
workmemo_gb18030(store_bench)
target_link_libraries(store_bench PRIVATE reminders_store platform_db platform_files platform_clock
  workmemo_db_images benchmark::benchmark benchmark::benchmark_main)
