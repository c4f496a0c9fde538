# The timed-reminder lists: a redraw of the list page at 100 and 100,000 reminders, sorting
# 10,000 reminders by a field, and the page's search over a data file of 10,000 reminders.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(reminder_lists_bench ${CMAKE_CURRENT_LIST_DIR}/reminder_lists_bench.cpp)
workmemo_gb18030(reminder_lists_bench)
target_link_libraries(reminder_lists_bench PRIVATE reminders_ui workmemo_skin_package workmemo_db_images
  platform_ui platform_files platform_clock benchmark::benchmark)
