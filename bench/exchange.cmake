# Exporting and importing the timed-reminder table with 10,000 reminders through the store.
add_executable(exchange_bench ${CMAKE_CURRENT_LIST_DIR}/exchange_bench.cpp)
target_link_libraries(exchange_bench PRIVATE reminders_store platform_db platform_files workmemo_db_images
  benchmark::benchmark benchmark::benchmark_main)
