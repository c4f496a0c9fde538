# The whole-process month view compared with `remind` (month_vs_remind.sh): a generator of one
# seeded mix of reminders in both forms, and the process that opens, loads, finds the 42 days
# and prints them.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(month_days ${CMAKE_CURRENT_LIST_DIR}/month_days.cpp)
workmemo_gb18030(month_days)
target_link_libraries(month_days PRIVATE reminders_store platform_db platform_files platform_clock
  workmemo_db_images)
