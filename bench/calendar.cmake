# The month calendar view on the calendar page's layout: drawing a month, and a hover move
# from one cell to another.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(calendar_bench ${CMAKE_CURRENT_LIST_DIR}/calendar_bench.cpp)
workmemo_gb18030(calendar_bench)
target_link_libraries(calendar_bench PRIVATE calendar platform_ui platform_clock benchmark::benchmark)
