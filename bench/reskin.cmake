# The re-skinning of every window: the main window with all its pages and every floating
# window open, over a data file of 10,000 reminders.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(reskin_bench ${CMAKE_CURRENT_LIST_DIR}/reskin_bench.cpp)
workmemo_gb18030(reskin_bench)
target_link_libraries(reskin_bench PRIVATE maintenance calendar due_notes reminders_ui shell
  workmemo_skin_package workmemo_db_images platform_ui platform_files platform_clock benchmark::benchmark)
