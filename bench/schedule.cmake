# The schedule over the loaded reminders: the 42 days of a month view at 1,000, 10,000 and
# 100,000 reminders, and the due check of one second.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(schedule_bench ${CMAKE_CURRENT_LIST_DIR}/schedule_bench.cpp)
workmemo_gb18030(schedule_bench)
target_link_libraries(schedule_bench PRIVATE reminders_store platform_db platform_files platform_clock
  workmemo_db_images benchmark::benchmark benchmark::benchmark_main)
